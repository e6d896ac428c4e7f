#include <gtest/gtest.h>

#include <vector>

#include "support/PointerSet.h"

namespace zintrel {
namespace {

// Through several growths: every element stays found, a second insert is refused, and
// neighbouring addresses that were never inserted are not found.
TEST(PointerSet, KeepsEveryElementThroughGrowth) {
  std::vector<int> storage(20000);
  TPointerSet set;
  EXPECT_FALSE(set.contains(&storage[0]));
  EXPECT_FALSE(set.insert(nullptr));
  for (size_t i = 0; i < storage.size(); i += 2) ASSERT_TRUE(set.insert(&storage[i]));
  EXPECT_EQ(set.size(), storage.size() / 2);
  for (size_t i = 0; i < storage.size(); ++i) {
    ASSERT_EQ(set.contains(&storage[i]), i % 2 == 0) << i;
    if (i % 2 == 0) {
      ASSERT_FALSE(set.insert(&storage[i]));
    }
  }
  EXPECT_FALSE(set.contains(nullptr));
}

}  // namespace
}  // namespace zintrel
