#include "repository/value.h"

#include <gtest/gtest.h>

#include <utility>

#include "platform/error.h"
#include "support/test_support.h"

namespace tqlm {
namespace {

using test_support::RaisedNumber;

TEST(ValueTest, NumbersAndFlagsOfEachKind) {
  EXPECT_EQ(Value().AsNumber(), 0);
  EXPECT_EQ(Value::Text(" 12.5 ").AsNumber(), 12.5);
  const std::pair<Value, bool> flags[] = {
      {Value(), false},          {Value::Integer(0), false},  {Value::Integer(2), true},
      {Value::Real(0.0), false}, {Value::Real(0.5), true},    {Value::Text("0"), false},
      {Value::Text("-1"), true}, {Value::Text("TRUE"), true}, {Value::Text("FaLsE"), false}};
  for (const auto& [value, flag] : flags) EXPECT_EQ(value.AsFlag(), flag) << value.AsText();
  for (const char* word : {"yes", "", "truex"}) {
    EXPECT_EQ(RaisedNumber([&] { Value::Text(word).AsFlag(); }), kErrTypeMismatch) << word;
    EXPECT_EQ(RaisedNumber([&] { Value::Text(word).AsNumber(); }), kErrTypeMismatch) << word;
  }
}

}  // namespace
}  // namespace tqlm
