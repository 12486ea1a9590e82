// Forced into every file of the fuzz build. clang 14 lacks the builtin that
// libstdc++ 12's <source_location> needs, so that header defines nothing;
// this gives what the code uses, the line, from the older builtin, which
// also takes the caller's line when used as a default argument.
#pragma once
#if defined(__clang__) && !__has_builtin(__builtin_source_location)
#include <cstdint>
namespace std {
struct source_location {
    static constexpr source_location current(std::uint_least32_t line = __builtin_LINE()) noexcept { return source_location{line}; }
    constexpr std::uint_least32_t line() const noexcept { return line_; }
    std::uint_least32_t line_ = 0;
};
}  // namespace std
#endif
