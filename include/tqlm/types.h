// The automation scalar types of the component's interface: Integers,
// Longs, Booleans (True is -1), and the source of log-line time stamps.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tqlm {

using VbInteger = std::int16_t;  // 16-bit signed
using VbLong = std::int32_t;     // 32-bit signed
using VbBoolean = std::int16_t;  // automation Boolean: True is -1

inline constexpr VbBoolean kTrue = -1;
inline constexpr VbBoolean kFalse = 0;

// A flag "equals True" only when it holds -1; it "is set" when it is non-zero.
inline constexpr bool IsTrue(VbBoolean v) { return v == kTrue; }
inline constexpr bool IsSet(VbBoolean v) { return v != 0; }
inline constexpr VbBoolean ToVb(bool b) { return b ? kTrue : kFalse; }

// The integer text of a command-line or property value with automation
// conversion: rounding half to even, error 13 for non-numeric text, error 6
// outside the range of the type.
VbInteger CIntText(std::string_view s);
VbLong CLngText(std::string_view s);

// Gives the time stamp of a log line: local time as "YYYY-MM-DD HH:MM:SS".
using Clock = std::function<std::string()>;

}  // namespace tqlm
