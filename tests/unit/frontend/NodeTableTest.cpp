#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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

class TPairNode : public TPlainNode {
 public:
  TStatementNode* First = nullptr;
  TStatementNode* Second = nullptr;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override {
    TPlainNode::VisitNodeFields(visitor);
    visitor(First);
    visitor(Second);
  }
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

// A list that grows from the never-freed blocks onto the heap keeps its entries, also when it
// takes in its own entries (the old room is read after the new one is made).
TEST(NodeTable, ListsKeepTheirEntriesWhenTheyGrow) {
  std::vector<int> storage(3000);
  TForeverList<int*> list;
  std::vector<int*> expected;
  for (int i = 0; i < 700; ++i) {
    list.push_back(&storage[static_cast<size_t>(i)]);
    expected.push_back(&storage[static_cast<size_t>(i)]);
  }
  list.insert(list.begin(), list.begin(), list.end());  // 1400 entries: room on the heap now
  expected.insert(expected.begin(), expected.begin(), expected.begin() + 700);
  list.insert(list.begin() + 1, list.begin(), list.end());  // and a heap room outgrown
  const std::vector<int*> before = expected;
  expected.insert(expected.begin() + 1, before.begin(), before.end());
  EXPECT_TRUE(list == expected);
  list.erase(&storage[0]);
  expected.erase(std::remove(expected.begin(), expected.end(), &storage[0]), expected.end());
  EXPECT_TRUE(list == expected);
  // Shrinking moves the entries to smaller room, down to the one kept in place and none.
  for (int i = 1; i < 700; ++i) list.erase(&storage[static_cast<size_t>(i)]);
  EXPECT_EQ(list.size(), 0u);
  list.push_back(&storage[1]);
  list.push_back(&storage[2]);
  list.push_back(&storage[3]);
  list.erase(&storage[2]);
  list.erase(&storage[1]);
  EXPECT_TRUE(list == std::vector<int*>{&storage[3]});
  list.clear();
  EXPECT_TRUE(list.empty() && list.begin() == list.end());
}

// Small lists that grow leave their room to the next lists: interleaved growth and a list taking
// in its own entries (its old room is read after the growth) keep every entry.
TEST(NodeTable, SmallListsShareOutgrownRoom) {
  std::vector<int> storage(64);
  std::vector<TForeverList<int*>> lists(8);
  std::vector<std::vector<int*>> expected(8);
  for (size_t round = 0; round < 8; ++round)
    for (size_t i = 0; i < lists.size(); ++i) {
      lists[i].push_back(&storage[i * 8 + round]);
      expected[i].push_back(&storage[i * 8 + round]);
    }
  TForeverList<int*> twice;
  twice.push_back(&storage[1]);
  twice.push_back(&storage[2]);
  twice.insert(twice.begin(), twice.begin(), twice.end());
  lists.push_back(twice);
  expected.push_back({&storage[1], &storage[2], &storage[1], &storage[2]});
  // A list of one keeps its entry in place of the room pointer, also when it grows from its own
  // entry, is emptied and filled again, or is copied.
  TForeverList<int*> one;
  one.push_back(&storage[3]);
  lists.push_back(one);
  expected.push_back({&storage[3]});
  one.insert(one.begin(), one.begin(), one.end());
  lists.push_back(one);
  expected.push_back({&storage[3], &storage[3]});
  TForeverList<int*> refilled;
  refilled.push_back(&storage[4]);
  refilled.erase(&storage[4]);
  refilled.push_back(&storage[5]);
  const std::vector<int*> more{&storage[6], &storage[7]};
  refilled.insert(refilled.begin(), more.begin(), more.end());
  lists.push_back(refilled);
  expected.push_back({&storage[6], &storage[7], &storage[5]});
  for (size_t i = 0; i < lists.size(); ++i) EXPECT_TRUE(lists[i] == expected[i]) << i;
}

// A node taken for its fields is given up once the reader is done: its handle is empty, its
// children (taken with it or not) have no parent, and the next node of its size takes its room.
TEST(NodeTable, TakenNodesLeaveTheirRoomToTheNext) {
  auto* parent = new TPairNode();
  auto* child = new TPlainNode();
  auto* kept = new TPlainNode();
  parent->First = child;
  parent->Second = kept;
  parent->AddChildNode(child);
  parent->AddChildNode(kept);
  EXPECT_EQ(parent->ChildNodes().size(), 2u);
  EXPECT_EQ(TNodeTable::TakeNode(parent->TableID), parent);
  EXPECT_EQ(TNodeTable::TakeNode(child->TableID), child);
  const int32_t handle = parent->TableID;
  TNodeTable::ReleaseTaken();
  EXPECT_EQ(HandleToNode(handle), nullptr);
  EXPECT_EQ(kept->Parent, nullptr);
  auto* next = new TPlainNode();
  EXPECT_TRUE(next == parent || next == child);
}

}  // namespace
}  // namespace zintrel
