// Replies from the daemon are untrusted: feed arbitrary payloads to
// DemarshalReply for an RPC chosen by the first two bytes (its number, or an
// entry picked by it when the number has none), in both byte orders. Every
// output is allocated at exactly the size its type record spans, so the
// sanitizers catch any write outside it; a successful reply's var-array
// storage is released again, so leaks show up too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "client/eal_log.h"
#include "client/marshal.h"

namespace {

std::vector<const RpcMarshalEntry *> AllEntries() {
  std::vector<const RpcMarshalEntry *> entries;
  for (uint32_t number = 0; number <= 0xFFFF; ++number) {
    if (const RpcMarshalEntry *entry = FindRpcMarshal(number)) entries.push_back(entry);
  }
  return entries;
}

void DemarshalOnce(int byte_order, const RpcMarshalEntry *entry, const uint8_t *payload, size_t length) {
  void *outputs[32] = {};
  size_t count = 0;
  for (; entry->reply[count] != nullptr && count < 32; ++count) {
    const size_t extent = MarshalMemoryExtent(entry->reply[count]);
    if (extent == kMarshalExtentUnknown) abort();  // the tables hold no user-defined records
    outputs[count] = malloc(extent == 0 ? 1 : extent);
  }
  if (DemarshalReply(byte_order, entry, payload, length, outputs) >= 0) {
    int32_t error;
    __builtin_memcpy(&error, outputs[0], sizeof error);
    if (error == 0) FreeReply(entry, outputs);
  }
  for (size_t i = 0; i < count; ++i) free(outputs[i]);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  eal_log_config.to_stdout = 0;  // the check texts would flood the run
  eal_log_config.to_syslog = 0;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const std::vector<const RpcMarshalEntry *> entries = AllEntries();
  if (size < 2 || entries.empty()) return 0;
  const uint32_t selector = data[0] | static_cast<uint32_t>(data[1]) << 8;
  const RpcMarshalEntry *entry = FindRpcMarshal(selector);
  if (entry == nullptr) entry = entries[selector % entries.size()];
  DemarshalOnce(kMarshalLittleEndian, entry, data + 2, size - 2);
  DemarshalOnce(kMarshalBigEndian, entry, data + 2, size - 2);
  return 0;
}
