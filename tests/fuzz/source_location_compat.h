// Forced into every file of the fuzz build. clang 14 lacks the builtin that
// libstdc++ 12's <source_location> needs, so that header defines nothing;
// this gives the same class from the older builtins, which also take the
// caller's position when used as default arguments.
#pragma once
#if defined(__clang__) && !__has_builtin(__builtin_source_location)
#include <cstdint>
namespace std {
struct source_location {
    static constexpr source_location current(std::uint_least32_t line = __builtin_LINE(), std::uint_least32_t column = __builtin_COLUMN(),
                                             const char* file = __builtin_FILE(), const char* function = __builtin_FUNCTION()) noexcept {
        source_location s;
        s.line_ = line;
        s.column_ = column;
        s.file_ = file;
        s.function_ = function;
        return s;
    }
    constexpr std::uint_least32_t line() const noexcept { return line_; }
    constexpr std::uint_least32_t column() const noexcept { return column_; }
    constexpr const char* file_name() const noexcept { return file_; }
    constexpr const char* function_name() const noexcept { return function_; }

private:
    std::uint_least32_t line_ = 0, column_ = 0;
    const char* file_ = "";
    const char* function_ = "";
};
}  // namespace std
#endif
