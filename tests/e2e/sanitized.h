// Whether this test program runs under AddressSanitizer: the sanitizer build runs the long
// end-to-end tests on smaller projects, to stay within the suite's time.
#pragma once

namespace quellor::testing {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif
#else
inline constexpr bool kSanitized = false;
#endif

}  // namespace quellor::testing
