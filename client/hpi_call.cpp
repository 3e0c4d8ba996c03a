#include "client/hpi_call.h"

#include <iterator>

#include "client/client_session.h"

SaErrorT HpiCall(uint32_t rpc_number, std::initializer_list<const void *> request,
                 std::initializer_list<void *> reply) {
  HpiParamBlock block{};
  if (request.size() > std::size(block.request) || reply.size() > std::size(block.reply) - 1) {
    return SA_ERR_HPI_INTERNAL_ERROR;
  }
  size_t slot = 0;
  for (const void *value : request) {
    if (value == nullptr) return SA_ERR_HPI_INVALID_PARAMS;
    block.request[slot++] = value;
  }
  slot = 1;  // reply[0] is HpiRpcCall's own result
  for (void *value : reply) {
    if (value == nullptr) return SA_ERR_HPI_INVALID_PARAMS;
    block.reply[slot++] = value;
  }
  return HpiRpcCall(rpc_number, block);
}

bool SeverityListSendable(const KvnSeverityListT *list) {
  return list != nullptr && (list->Count == 0 || list->Severities != nullptr);
}
