// Automation scalar types as the component's public surface sees them.
#pragma once

#include <cstdint>

#include <tqlm/types.h>

namespace tqlm {

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
