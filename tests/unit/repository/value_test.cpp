#include "repository/value.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "support/test_support.h"

namespace tqlm {
namespace {

using test_support::RaisedNumber;

TEST(ValueTest, AsTextWritesEachKindAsTheRuntimeDoes) {
  EXPECT_EQ(Value().AsText(), "");
  EXPECT_EQ(Value::Integer(42).AsText(), "42");
  EXPECT_EQ(Value::Integer(-7).AsText(), "-7");
  EXPECT_EQ(Value::Real(2.0).AsText(), "2");
  EXPECT_EQ(Value::Real(1.5).AsText(), "1.5");
  EXPECT_EQ(Value::Real(1.5e-05).AsText(), "1.5E-05");
  EXPECT_EQ(Value::Text("  a b ").AsText(), "  a b ");
  EXPECT_EQ(Value::Text("").AsText(), "");
}

TEST(ValueTest, AsNumberConvertsTextAndRejectsWords) {
  EXPECT_EQ(Value().AsNumber(), 0);
  EXPECT_EQ(Value::Integer(-12).AsNumber(), -12);
  EXPECT_EQ(Value::Real(2.25).AsNumber(), 2.25);
  EXPECT_EQ(Value::Text(" 12.5 ").AsNumber(), 12.5);
  EXPECT_EQ(RaisedNumber([] { Value::Text("abc").AsNumber(); }), kErrTypeMismatch);
  EXPECT_EQ(RaisedNumber([] { Value::Text("").AsNumber(); }), kErrTypeMismatch);
}

TEST(ValueTest, AsFlagReadsNumbersWordsAndNull) {
  EXPECT_FALSE(Value().AsFlag());
  EXPECT_FALSE(Value::Integer(0).AsFlag());
  EXPECT_TRUE(Value::Integer(-1).AsFlag());
  EXPECT_TRUE(Value::Integer(2).AsFlag());
  EXPECT_FALSE(Value::Real(0.0).AsFlag());
  EXPECT_TRUE(Value::Real(0.5).AsFlag());
  EXPECT_TRUE(Value::Text("1").AsFlag());
  EXPECT_FALSE(Value::Text("0").AsFlag());
  EXPECT_TRUE(Value::Text("-1").AsFlag());
  EXPECT_TRUE(Value::Text("True").AsFlag());
  EXPECT_TRUE(Value::Text("TRUE").AsFlag());
  EXPECT_FALSE(Value::Text("false").AsFlag());
  EXPECT_FALSE(Value::Text("FaLsE").AsFlag());
  EXPECT_EQ(RaisedNumber([] { Value::Text("yes").AsFlag(); }), kErrTypeMismatch);
  EXPECT_EQ(RaisedNumber([] { Value::Text("").AsFlag(); }), kErrTypeMismatch);
  EXPECT_EQ(RaisedNumber([] { Value::Text("truex").AsFlag(); }), kErrTypeMismatch);
}

}  // namespace
}  // namespace tqlm
