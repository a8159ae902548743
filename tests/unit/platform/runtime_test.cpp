// The runtime pieces: number narrowing and the keyed collection.

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "platform/dictionary.h"
#include "platform/error.h"
#include "platform/vb_types.h"
#include "support/test_support.h"

namespace tqlm {
namespace {

using test_support::RaisedNumber;

TEST(VbTypes, NarrowingRoundsHalfToEvenAndRaisesOverflowOutOfRange) {
  EXPECT_EQ(CInt(-32768LL), -32768);
  EXPECT_EQ(CLng(2147483647LL), 2147483647);
  // -32768.5 rounds to even, still in range.
  for (auto [real, rounded] : {std::pair{0.5, 0}, {1.5, 2}, {2.5, 2}, {-2.5, -2}, {2.6, 3}, {-32768.5, -32768}}) {
    EXPECT_EQ(CInt(real), rounded) << real;
  }
  EXPECT_EQ(CLng(2147483646.5), 2147483646);
  for (auto overflow : std::initializer_list<std::function<void()>>{
           [] { CInt(32768LL); }, [] { CInt(-32769LL); }, [] { CLng(2147483648LL); }, [] { CLng(-2147483649LL); },
           [] { CInt(32767.5); }, [] { CLng(2147483647.5); }, [] { CLng(std::numeric_limits<double>::quiet_NaN()); },
           [] { CInt(std::numeric_limits<double>::infinity()); }}) {
    EXPECT_EQ(RaisedNumber(overflow), kErrOverflow);
  }
}

TEST(Dictionary, KeepsInsertionOrderAcrossManyKeys) {
  Dictionary<int> dictionary;
  std::vector<std::string> keys;
  // Descending, hash-unfriendly keys: any ordering by key or hash shows.
  for (int i = 500; i > 0; --i) keys.push_back("K" + std::to_string(i * 7919 % 1000));
  for (std::size_t i = 0; i < keys.size(); ++i) dictionary.Add(keys[i], static_cast<int>(i));

  ASSERT_EQ(dictionary.Count(), 500);
  std::size_t position = 0;
  for (const auto& [key, item] : dictionary) {
    EXPECT_EQ(key, keys[position]);
    EXPECT_EQ(item, static_cast<int>(position));
    ++position;
  }
}

TEST(Dictionary, AddOfExistingKeyRaises457AndChangesNothing) {
  Dictionary<std::string> dictionary;
  dictionary.Add("a", "first");
  dictionary.Add("b", "second");
  dictionary.Add("A", "case counts");
  EXPECT_EQ(RaisedNumber([&] { dictionary.Add("a", "again"); }), 457);
  ASSERT_EQ(dictionary.Count(), 3);
  EXPECT_EQ(*dictionary.Find("a"), "first");
  EXPECT_EQ(dictionary.begin()->first, "a");
}

}  // namespace
}  // namespace tqlm
