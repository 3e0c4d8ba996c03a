// The one place where handlers are plugged in: one row per implemented FN,
// in FN order. Handlers live in api/<area>/ and are declared in its headers.
#include "front/function_table.h"

#include <array>

namespace kvnc {
namespace {

constexpr ApiFunction kImplemented[] = {
    // {13, "GetSensorThresholds", GetSensorThresholds},
    {-1, nullptr, nullptr},  // keeps the list non-empty until the first handler lands
};

constexpr std::array<const ApiFunction *, kApiFunctionCount> BuildSlots() {
  std::array<const ApiFunction *, kApiFunctionCount> slots{};
  for (const ApiFunction &f : kImplemented) {
    if (f.handler == nullptr) continue;
    if (f.fn < 0 || f.fn >= kApiFunctionCount || slots[static_cast<size_t>(f.fn)] != nullptr) {
      throw "function table: number outside 0..314 or used twice";  // fails the build
    }
    slots[static_cast<size_t>(f.fn)] = &f;
  }
  return slots;
}

constexpr std::array<const ApiFunction *, kApiFunctionCount> kSlots = BuildSlots();

}  // namespace

const ApiFunction *FindApiFunction(int32_t fn) {
  // Compared unsigned, so negative numbers fall outside too.
  if (static_cast<uint32_t>(fn) >= static_cast<uint32_t>(kApiFunctionCount)) return nullptr;
  return kSlots[static_cast<size_t>(fn)];
}

int ImplementedApiFunctionCount() {
  int n = 0;
  for (const ApiFunction *slot : kSlots) n += slot != nullptr ? 1 : 0;
  return n;
}

}  // namespace kvnc
