#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <new>
#include <stdexcept>

#include "platform/error.h"
#include "platform/vb_types.h"
#include "support/test_support.h"

namespace tqlm {
namespace {

using test_support::ErrorOf;
using test_support::RaisedNumber;

TEST(VbTypes, IntegerNarrowingRaisesOverflow) {
  EXPECT_EQ(CInt(32767LL), 32767);
  EXPECT_EQ(CInt(-32768LL), -32768);
  EXPECT_EQ(RaisedNumber([] { CInt(32768LL); }), kErrOverflow);
  EXPECT_EQ(RaisedNumber([] { CInt(-32769LL); }), kErrOverflow);
  EXPECT_EQ(CLng(2147483647LL), 2147483647);
  EXPECT_EQ(RaisedNumber([] { CLng(2147483648LL); }), kErrOverflow);
  EXPECT_EQ(RaisedNumber([] { CLng(-2147483649LL); }), kErrOverflow);
}

TEST(VbTypes, RealNarrowingRoundsHalfToEven) {
  EXPECT_EQ(CInt(0.5), 0);
  EXPECT_EQ(CInt(1.5), 2);
  EXPECT_EQ(CInt(2.5), 2);
  EXPECT_EQ(CInt(-2.5), -2);
  EXPECT_EQ(CInt(2.6), 3);
  EXPECT_EQ(CInt(32767.4), 32767);
  EXPECT_EQ(CInt(-32768.5), -32768);  // rounds to even, still in range
  EXPECT_EQ(RaisedNumber([] { CInt(32767.5); }), kErrOverflow);
  EXPECT_EQ(CLng(2147483646.5), 2147483646);
  EXPECT_EQ(RaisedNumber([] { CLng(2147483647.5); }), kErrOverflow);
  EXPECT_EQ(RaisedNumber([] { CLng(std::numeric_limits<double>::quiet_NaN()); }), kErrOverflow);
  EXPECT_EQ(RaisedNumber([] { CInt(std::numeric_limits<double>::infinity()); }), kErrOverflow);
}

TEST(Errors, StandardDescriptions) {
  EXPECT_EQ(StandardDescription(kErrInvalidCall), "Invalid procedure call or argument");
  EXPECT_EQ(StandardDescription(kErrTypeMismatch), "Type mismatch");
  EXPECT_EQ(StandardDescription(kErrPathNotFound), "Path not found");
  EXPECT_EQ(StandardDescription(999), "Application-defined or object-defined error");
  EXPECT_EQ(StandardDescription(kErrRepository), "Application-defined or object-defined error");
}

TEST(Errors, RaiseFillsDefaults) {
  // Caught here rather than through ErrorOf, as what() is asked of the
  // thrown object itself.
  try {
    Raise(kErrOverflow);
    FAIL() << "Raise returned";
  } catch (const Raised& raised) {
    EXPECT_EQ(raised.error().number, kErrOverflow);
    EXPECT_EQ(raised.error().source, kDefaultErrorSource);
    EXPECT_EQ(raised.error().description, "Overflow");
    EXPECT_STREQ(raised.what(), "Overflow");
  }
  VbError custom = ErrorOf([] { Raise(1001, "Module.Proc", "Custom text"); });
  EXPECT_EQ(custom.number, 1001);
  EXPECT_EQ(custom.source, "Module.Proc");
  EXPECT_EQ(custom.description, "Custom text");
}

TEST(Errors, ErrNumberText) {
  EXPECT_EQ(ErrNumberText(76), " 76");
  EXPECT_EQ(ErrNumberText(0), " 0");
  EXPECT_EQ(ErrNumberText(-2147217900), "-2147217900");
  EXPECT_EQ(ErrNumberText(std::numeric_limits<std::int32_t>::min()), "-2147483648");
}

// What CurrentError() makes of `exception` once it is thrown.
template <class E>
VbError ErrorMappedFrom(E exception) {
  try {
    throw exception;
  } catch (...) {
    return CurrentError();
  }
}

TEST(Errors, CurrentErrorMapsForeignExceptions) {
  VbError raised = ErrorMappedFrom(Raised(VbError{3021, "Src", "No record"}));
  EXPECT_EQ(raised.number, 3021);
  EXPECT_EQ(raised.source, "Src");
  EXPECT_EQ(raised.description, "No record");

  VbError memory = ErrorMappedFrom(std::bad_alloc());
  EXPECT_EQ(memory.number, kErrOutOfMemory);
  EXPECT_EQ(memory.description, "Out of memory");
  EXPECT_EQ(memory.source, kDefaultErrorSource);

  EXPECT_EQ(ErrorMappedFrom(std::runtime_error("x")).number, kErrInvalidCall);
  EXPECT_EQ(ErrorMappedFrom(42).number, kErrInvalidCall);
  // An index beyond a container's end reads as "Subscript out of range".
  EXPECT_EQ(ErrorMappedFrom(std::out_of_range("at")).number, kErrSubscript);
}

}  // namespace
}  // namespace tqlm
