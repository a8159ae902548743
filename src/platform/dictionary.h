// Stand-in for Scripting.Dictionary: exact keys, insertion order kept, Add of
// an existing key raises 457.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/error.h"

namespace tqlm {

template <class T>
class Dictionary {
 public:
  using Entry = std::pair<std::string, T>;

  void Add(std::string key, T item) {
    if (index_.count(key) != 0) Raise(kErrDuplicateKey);
    index_.emplace(key, entries_.size());
    entries_.emplace_back(std::move(key), std::move(item));
  }
  bool Exists(const std::string& key) const { return index_.count(key) != 0; }
  // The item under `key`, or nullptr.
  const T* Find(const std::string& key) const {
    auto it = index_.find(key);
    return it == index_.end() ? nullptr : &entries_[it->second].second;
  }
  T* Find(const std::string& key) {
    auto it = index_.find(key);
    return it == index_.end() ? nullptr : &entries_[it->second].second;
  }
  void RemoveAll() {
    entries_.clear();
    index_.clear();
  }
  long Count() const { return static_cast<long>(entries_.size()); }

  // Entries in insertion order.
  typename std::vector<Entry>::const_iterator begin() const { return entries_.begin(); }
  typename std::vector<Entry>::const_iterator end() const { return entries_.end(); }

 private:
  std::vector<Entry> entries_;
  std::unordered_map<std::string, std::size_t> index_;
};

}  // namespace tqlm
