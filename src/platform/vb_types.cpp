#include "platform/vb_types.h"

#include <cmath>
#include <limits>

#include "platform/error.h"

namespace tqlm {

namespace {

template <class T>
T Narrow(long long value) {
  if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max()) Raise(kErrOverflow);
  return static_cast<T>(value);
}

template <class T>
T NarrowReal(double value) {
  if (!std::isfinite(value)) Raise(kErrOverflow);
  double rounded = std::nearbyint(value);  // default rounding mode: half to even
  if (rounded < static_cast<double>(std::numeric_limits<T>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<T>::max()))
    Raise(kErrOverflow);
  return static_cast<T>(rounded);
}

}  // namespace

VbInteger CInt(long long value) { return Narrow<VbInteger>(value); }
VbLong CLng(long long value) { return Narrow<VbLong>(value); }
VbInteger CInt(double value) { return NarrowReal<VbInteger>(value); }
VbLong CLng(double value) { return NarrowReal<VbLong>(value); }

}  // namespace tqlm
