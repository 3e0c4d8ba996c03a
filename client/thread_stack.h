// Stack sizes of the threads this project starts itself.
#pragma once

#include <cstddef>

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define KVNC_SANITIZED_BUILD 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define KVNC_SANITIZED_BUILD 1
#endif

// A thread's stack for a product build of `normal` bytes. Sanitizer builds
// enlarge every frame (instrumentation, red zones) and get eight times as
// much: a stack sized for the product overflows there.
constexpr size_t ThreadStackSize(size_t normal) {
#ifdef KVNC_SANITIZED_BUILD
  return normal * 8;
#else
  return normal;
#endif
}
