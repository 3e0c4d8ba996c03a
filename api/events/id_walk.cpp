#include "api/events/id_walk.h"

#include "front/api_error.h"

namespace kvnc {

void WalkGuard::Visit(uint32_t id) {
  if (seen_.size() >= max_items_ || !seen_.insert(id).second) {
    Fail(ErrorReplyWithCode(kRcHpiError, SA_ERR_HPI_INVALID_DATA, function_));
  }
}

void WalkIds(std::string_view function, const std::function<SaErrorT(uint32_t id, uint32_t *next)> &fetch) {
  WalkGuard guard(function);
  uint32_t id = SAHPI_FIRST_ENTRY;
  for (;;) {
    guard.Visit(id);
    uint32_t next = SAHPI_LAST_ENTRY;
    const SaErrorT rv = fetch(id, &next);
    if (rv == SA_ERR_HPI_NOT_PRESENT) return;
    CheckHpi(rv, function);
    if (next == SAHPI_LAST_ENTRY) return;
    id = next;
  }
}

}  // namespace kvnc
