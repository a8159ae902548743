#include "nearest_name.h"

#include <algorithm>

namespace tqlm::cli {

namespace {

// Edits between two texts, a swap of neighbours counting one.
std::size_t Edits(const std::string& a, const std::string& b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[a.size()][b.size()];
}

// The letters of a name without its leading dashes.
std::size_t Letters(const std::string& name) {
  return name.size() - std::min(name.find_first_not_of('-'), name.size());
}

}  // namespace

std::vector<std::string> NearestNames(const std::string& given, const std::vector<std::string>& names) {
  constexpr std::size_t kAtMost = 3;
  // Two letters abbreviate nothing ("-x" is not short for "-h" or "--xml-path").
  if (Letters(given) < 3) return {};
  std::vector<std::string> nearest;
  for (const std::string& name : names)
    if (name.size() > given.size() && name.compare(0, given.size(), given) == 0) nearest.push_back(name);
  if (!nearest.empty()) return nearest.size() <= kAtMost ? nearest : std::vector<std::string>{};

  // A few edits for a long name, one for a short one.
  std::size_t best = std::max<std::size_t>(1, Letters(given) / 4);
  for (const std::string& name : names) {
    const std::size_t edits = Edits(given, name);
    if (edits > best) continue;
    if (edits < best) nearest.clear();
    best = edits;
    nearest.push_back(name);
  }
  return nearest.size() <= kAtMost ? nearest : std::vector<std::string>{};
}

std::string OneOf(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i)
    text += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
  return text;
}

}  // namespace tqlm::cli
