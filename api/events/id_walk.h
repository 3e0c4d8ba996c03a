// Walks over items the daemon hands out by id: the first call passes
// SAHPI_FIRST_ENTRY, each answer names the id of the next item. The ids come
// from another process, so a walk must end even when they go round in a
// circle: an id that comes back, or more items than any list of the daemon
// holds, is answered as invalid data from the daemon (RC 9, IC 1010, the
// function's name). An error rather than the items read so far, because a
// caller may act on the whole list (a replaced filter gets back all of its
// actions, or none).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "client/hpi_types.h"

namespace kvnc {

// Far more than the daemon keeps of any list, and few enough calls to be
// answered quickly when a daemon runs away.
inline constexpr size_t kMaxWalkItems = 4096;

// The ids one walk has visited, for walks whose ends differ from WalkIds'.
class WalkGuard {
 public:
  explicit WalkGuard(std::string_view function, size_t max_items = kMaxWalkItems)
      : function_(function), max_items_(max_items) {}
  // Records `id`; Fail()s when it was visited before or the walk is too long.
  void Visit(uint32_t id);
  bool Visited(uint32_t id) const { return seen_.count(id) != 0; }

 private:
  std::string function_;
  size_t max_items_;
  std::unordered_set<uint32_t> seen_;
};

// Calls `fetch(id, &next)` for SAHPI_FIRST_ENTRY and then each next id. The
// walk ends when fetch answers SA_ERR_HPI_NOT_PRESENT or the next id is
// SAHPI_LAST_ENTRY; any other error is RC 9 naming `function`. `fetch` makes
// the call and takes the item when it answers SA_OK.
void WalkIds(std::string_view function, const std::function<SaErrorT(uint32_t id, uint32_t *next)> &fetch);

}  // namespace kvnc
