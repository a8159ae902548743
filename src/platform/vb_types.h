// Automation scalar types as the component's public surface sees them.
#pragma once

#include <cstdint>

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

// Narrowing that raises error 6 (Overflow) outside the target type.
VbInteger CInt(long long value);
VbLong CLng(long long value);
// Rounds half to even first, as the automation conversions do.
VbInteger CInt(double value);
VbLong CLng(double value);
inline VbInteger CInt(int value) { return CInt(static_cast<long long>(value)); }
inline VbInteger CInt(long value) { return CInt(static_cast<long long>(value)); }
inline VbLong CLng(int value) { return CLng(static_cast<long long>(value)); }
inline VbLong CLng(long value) { return CLng(static_cast<long long>(value)); }

}  // namespace tqlm
