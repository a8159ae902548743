#include "platform/dictionary.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "platform/error.h"
#include "support/test_support.h"

namespace tqlm {
namespace {

using test_support::ErrorOf;

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
  VbError error = ErrorOf([&] { dictionary.Add("a", "again"); });
  EXPECT_EQ(error.number, 457);
  EXPECT_EQ(error.description, "This key is already associated with an element of this collection");
  EXPECT_EQ(dictionary.Count(), 2);
  ASSERT_NE(dictionary.Find("a"), nullptr);
  EXPECT_EQ(*dictionary.Find("a"), "first");
  EXPECT_EQ(dictionary.begin()->first, "a");
  EXPECT_EQ(std::next(dictionary.begin())->first, "b");
}

TEST(Dictionary, KeysAreExact) {
  Dictionary<int> dictionary;
  dictionary.Add("Key", 1);
  dictionary.Add("key", 2);  // differs in case only: a key of its own
  EXPECT_TRUE(dictionary.Exists("Key"));
  EXPECT_FALSE(dictionary.Exists("KEY"));
  EXPECT_FALSE(dictionary.Exists("Key "));
  EXPECT_EQ(dictionary.Find("KEY"), nullptr);
  ASSERT_NE(dictionary.Find("key"), nullptr);
  EXPECT_EQ(*dictionary.Find("key"), 2);

  *dictionary.Find("Key") = 10;
  const Dictionary<int>& view = dictionary;
  EXPECT_EQ(*view.Find("Key"), 10);
}

TEST(Dictionary, RemoveAllEmptiesAndAllowsKeysAgain) {
  Dictionary<int> dictionary;
  dictionary.Add("a", 1);
  dictionary.Add("b", 2);
  dictionary.RemoveAll();
  EXPECT_EQ(dictionary.Count(), 0);
  EXPECT_EQ(dictionary.begin(), dictionary.end());
  EXPECT_FALSE(dictionary.Exists("a"));

  dictionary.Add("b", 3);
  dictionary.Add("a", 4);
  EXPECT_EQ(dictionary.begin()->first, "b");
  EXPECT_EQ(*dictionary.Find("a"), 4);
}

}  // namespace
}  // namespace tqlm
