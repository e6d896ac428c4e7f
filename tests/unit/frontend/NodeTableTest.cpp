#include <gtest/gtest.h>

#include "frontend/NodeTable.h"
#include "model/ASTNode.h"

namespace zintrel {
namespace {

class TPlainNode : public TStatementNode {
 public:
  std::string GetName() const override { return "TPlainNode"; }
  int CheckCorrectness(TScope*) override { return 0; }
  std::string GenerateCode(const std::string&) override { return ""; }
};

TEST(NodeTable, HandlesAreDenseAndTheTableDoubles) {
  int32_t first = RegisterHandle(new TList());
  int32_t second = RegisterHandle(new TList());
  EXPECT_EQ(second, first + 1);
  // Fill up to a power-of-two boundary and watch the table double exactly there.
  size_t capacity = TNodeTable::Capacity();
  ASSERT_GE(capacity, 1024u);
  while (static_cast<size_t>(TNodeTable::NodeCount()) < capacity) RegisterHandle(new TList());
  EXPECT_EQ(TNodeTable::Capacity(), capacity);
  int32_t next = RegisterHandle(new TList());
  EXPECT_EQ(static_cast<size_t>(next), capacity);
  EXPECT_EQ(TNodeTable::Capacity(), capacity * 2);
  // Entries made before growing stay resolvable.
  EXPECT_NE(HandleToList(first), nullptr);
  EXPECT_NE(HandleToList(next), nullptr);
}

TEST(NodeTable, KindsAreTested) {
  TPlainNode* node = new TPlainNode();
  TList* list = new TList();
  int32_t listHandle = RegisterHandle(list);
  EXPECT_EQ(HandleToNode(node->TableID), node);
  EXPECT_EQ(HandleToList(listHandle), list);
  EXPECT_EQ(HandleToNode(listHandle), nullptr);
  EXPECT_EQ(HandleToList(node->TableID), nullptr);
  EXPECT_EQ(HandleToNode(-1), nullptr);
  EXPECT_EQ(HandleToList(-1), nullptr);
  EXPECT_EQ(HandleToNode(TNodeTable::NodeCount() + 5), nullptr);
  TList* replacement = new TList();
  TNodeTable::ReplaceEntry(listHandle, replacement);
  EXPECT_EQ(HandleToList(listHandle), replacement);
}

}  // namespace
}  // namespace zintrel
