// Helpers that let a handler read straight through like its description:
// each required key, each HPI result check and each failure is one call.
// A failure leaves the handler as ApiFailure carrying the reply, already
// built and logged; the dispatcher turns it back into the reply.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>

#include "front/replies.h"

namespace kvnc {

// Deliberately not a std::exception: the request loop answers those with
// RC 11, and a built failure reply must never be mistaken for one. Caught
// by the dispatcher, and by the request loop should one ever get past it.
struct ApiFailure {
  json reply;
};

// Leaves the handler with a reply made by one of the error builders.
[[noreturn]] void Fail(json reply);

// The member `key` of `object`, or RC 5 with the key as message when it is
// absent (also when `object` is not an object, e.g. a missing PRM). For a
// member of an object member, `parent` names the outer key: "PARENT:KEY".
const json &RequireKey(const json &object, std::string_view key, std::string_view parent = {});

// RC 9 naming the HPI function, IC = -rv, unless rv is SA_OK.
void CheckHpi(int32_t rv, std::string_view function);

// The session's user must hold at least one of `bits` in the first mask of
// kvnHpiCurrentPrivilegeMaskGet; otherwise RC 2 with `refusal` passed
// through the message catalogue. A failed query is RC 9.
void RequirePrivilege(uint32_t session, uint64_t bits, const char *refusal);

// A JSON number read as T: signed, unsigned and floating values are accepted
// (floating values truncated toward zero and clamped to 64 bits first, so a
// huge or fractional number never reaches an undefined conversion), then
// narrowed like an integer conversion (8-bit fields take the low 8 bits).
// Booleans, strings and the rest raise the JSON library's type error.
template <typename T>
T GetNumber(const json &value) {
  static_assert(std::is_integral_v<T>);
  if (value.is_number_float()) {
    const double d = value.get<double>();
    constexpr double kMin = -9223372036854775808.0;  // -2^63
    constexpr double kMax = 9223372036854775808.0;   // 2^63, first value past int64
    const int64_t wide = d <= kMin   ? std::numeric_limits<int64_t>::min()
                         : d >= kMax ? std::numeric_limits<int64_t>::max()
                                     : static_cast<int64_t>(d);
    return static_cast<T>(wide);
  }
  if (value.is_number_unsigned()) return static_cast<T>(value.get<uint64_t>());
  if (value.is_number_integer()) return static_cast<T>(value.get<int64_t>());
  // The library itself would read true as 1; a flag is not a number here.
  throw json::type_error::create(302, std::string("type must be number, but is ") + value.type_name(), &value);
}

}  // namespace kvnc
