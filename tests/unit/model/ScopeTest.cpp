#include <gtest/gtest.h>

#include "cpp/CPPTarget.h"
#include "model/NodeFactory.h"
#include "model/Scope.h"

namespace zintrel {
namespace {

std::string Numbered(const char* prefix, int number) {
  std::string name = prefix;
  name += std::to_string(number);
  return name;
}

class ScopeTest : public testing::Test {
 protected:
  void SetUp() override { ActiveTarget = new TCPPTarget(); }
  TVariableDeclNode* Declaration(const char* name, int32_t kind) {
    return ActiveTarget->CreateVariableDeclNode()->Create(kind, name, nullptr, nullptr);
  }
};

TEST_F(ScopeTest, NamesIgnoreCaseAndTheFirstDeclarationStays) {
  TScope scope;
  TVariableDeclNode* first = Declaration("Foo", DECL_LOCAL);
  TVariableDeclNode* second = Declaration("foo", DECL_LOCAL);
  EXPECT_EQ(scope.Insert("Foo", first), 1);
  EXPECT_EQ(scope.Find("FOO"), first);
  EXPECT_EQ(scope.Find("foo"), first);
  EXPECT_EQ(scope.Insert("foo", second), 0);
  EXPECT_EQ(scope.Find("Foo"), first);
  EXPECT_EQ(scope.Find("bar"), nullptr);
  // Past a few names the scope indexes them; the same rules hold, and the order stays.
  std::vector<TVariableDeclNode*> more;
  for (int i = 0; i < 300; ++i) {
    more.push_back(Declaration(Numbered("N", i).c_str(), DECL_LOCAL));
    ASSERT_EQ(scope.Insert(Numbered("N", i), more.back()), 1);
  }
  for (int i = 0; i < 300; ++i) {
    EXPECT_EQ(scope.Find(Numbered("n", i)), more[static_cast<size_t>(i)]);
    EXPECT_EQ(scope.Insert(Numbered("n", i), second), 0);
  }
  EXPECT_EQ(scope.Find("FOO"), first);
  EXPECT_EQ(scope.Find("n300"), nullptr);
  ASSERT_EQ(scope.Nodes.size(), 301u);
  EXPECT_EQ(scope.Nodes.begin()[0].first, "foo");
  EXPECT_EQ(scope.Nodes.begin()[300].first, "n299");
}

TEST_F(ScopeTest, InnerDeclarationsHideOuterOnesOnlyBelowThem) {
  TScope outer;
  TScope* inner = (new TScope())->Create(&outer);
  TScope* innermost = (new TScope())->Create(inner);
  TVariableDeclNode* global = Declaration("x", DECL_GLOBAL);
  TVariableDeclNode* local = Declaration("X", DECL_LOCAL);
  outer.Insert("x", global);
  EXPECT_EQ(inner->Insert("X", local), 1);  // shadowing is silent
  EXPECT_EQ(innermost->Find("x"), local);
  EXPECT_EQ(inner->Find("x"), local);
  EXPECT_EQ(outer.Find("x"), global);
  EXPECT_EQ(innermost->Find("nothing"), nullptr);
}

TEST_F(ScopeTest, CopyIsIndependent) {
  TScope parent;
  TScope original;
  original.Create(&parent);
  original.Insert("a", Declaration("a", DECL_LOCAL));
  TScope* copy = original.Copy();
  EXPECT_EQ(copy->Parent, &parent);
  copy->Insert("b", Declaration("b", DECL_LOCAL));
  EXPECT_NE(copy->Find("a"), nullptr);
  EXPECT_EQ(original.Find("b"), nullptr);
}

TEST_F(ScopeTest, StaticClassScopeSkipsFieldsButFindsOuterNames) {
  TClassNode* c = ActiveTarget->CreateClassNode();
  c->Identifier = "Thing";
  TVariableDeclNode* field = Declaration("value", DECL_FIELD);
  TVariableDeclNode* constant = Declaration("Limit", DECL_CONST);
  c->Variables = {field, constant};
  TScope program;
  TVariableDeclNode* global = Declaration("value", DECL_GLOBAL);
  program.Insert("value", global);
  TClassScope* staticView = (new TClassScope())->CreateClassScope(&program, c, 1);
  TClassScope* instanceView = (new TClassScope())->CreateClassScope(&program, c, 0);
  EXPECT_EQ(staticView->Find("Value"), global);
  EXPECT_EQ(instanceView->Find("Value"), field);
  EXPECT_EQ(staticView->Find("LIMIT"), constant);
  // A plain scope below a class scope reaches the members through it.
  TScope* block = (new TScope())->Create(instanceView);
  EXPECT_EQ(block->Find("value"), field);
}

}  // namespace
}  // namespace zintrel
