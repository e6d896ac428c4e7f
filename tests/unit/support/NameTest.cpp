#include "support/Name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zintrel {
namespace {

// Spellings are kept as written; case only counts through the folded name. Thousands of names
// make the table grow several times, and every name stays the one it was.
TEST(Name, InternsSpellingsAndFoldsCase) {
  const TName mixed("CountAll");
  EXPECT_EQ(mixed.str(), "CountAll");
  EXPECT_EQ(mixed.Lower(), "countall");
  EXPECT_TRUE(mixed == TName(std::string("CountAll")));
  EXPECT_FALSE(mixed == TName("countall"));
  EXPECT_TRUE(mixed.Folded() == TName("COUNTALL").Folded());
  EXPECT_TRUE(TName("countall").Folded() == TName("countall"));
  EXPECT_TRUE(TName().empty());
  EXPECT_EQ("'" + mixed + "'", "'CountAll'");

  std::vector<TName> names;
  for (int i = 0; i < 5000; ++i) {
    std::string text = "Name";
    text += std::to_string(i);
    names.emplace_back(text);
  }
  for (int i = 0; i < 5000; ++i) {
    std::string text = "nAME";
    text += std::to_string(i);
    EXPECT_EQ(names[static_cast<size_t>(i)].Lower(), "name" + std::to_string(i));
    EXPECT_TRUE(TName(text).Folded() == names[static_cast<size_t>(i)].Folded());
  }
}

}  // namespace
}  // namespace zintrel
