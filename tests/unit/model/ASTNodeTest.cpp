#include <gtest/gtest.h>

#include <unistd.h>

#include "model/ASTNode.h"
#include "model/ProgramNode.h"
#include "cpp/CPPTarget.h"

namespace zintrel {
namespace {

class TTestExpression : public TStatementNode {
 public:
  std::string GetName() const override { return "TTestExpression"; }
  int CheckCorrectness(TScope*) override { return 0; }
  std::string GenerateCode(const std::string&) override { return ""; }
};

// A node with two node-valued fields, plugged into the field visitor like every node class.
class TTestPair : public TStatementNode {
 public:
  TTestExpression* Left = nullptr;
  TStatementNode* Right = nullptr;
  std::string GetName() const override { return "TTestPair"; }
  int CheckCorrectness(TScope*) override { return 0; }
  std::string GenerateCode(const std::string&) override { return ""; }
  void VisitNodeFields(TNodeFieldVisitor& v) override {
    TStatementNode::VisitNodeFields(v);
    v(Left);
    v(Right);
  }
};

class ASTNodeTest : public testing::Test {
 protected:
  void SetUp() override {
    TASTNode::SetRuleLocation(nullptr);
    TASTNode::CommonRoot = nullptr;
    TASTNode::CommonSourceFile.clear();
  }
  void TearDown() override { SetUp(); }
};

TEST_F(ASTNodeTest, ConstructionTakesTheContext) {
  TTestExpression before;
  EXPECT_EQ(before.ToString(), "0-0:0-0");
  EXPECT_EQ(HandleToNode(before.TableID), &before);

  TCPPProgramNode* root = TCPPProgramNode::Create();
  root->SetSourceFile("/src/main.zn");
  TASTNode::SetCommonRoot(root);
  EXPECT_EQ(TASTNode::CommonSourceFile, "/src/main.zn");
  {
    LocationRecord rule{12, 5, 14, 17};
    TASTNode::SetRuleLocation(&rule);
  }  // the record goes away; the context keeps its values
  TTestExpression node;
  EXPECT_EQ(node.Root(), root);
  EXPECT_EQ(node.SourceFile(), "/src/main.zn");
  EXPECT_EQ(node.ToString(), "12-14:5-17");
  EXPECT_EQ(node.Parent, nullptr);
  EXPECT_EQ(node.IsExtern, 0);
  EXPECT_EQ(node.IsCompiled, 0);
  EXPECT_EQ(root->GetName(), "TProgramNode");
}

TEST_F(ASTNodeTest, ChildrenParentsAndExtern) {
  TTestPair* pair = new TTestPair();
  TTestExpression* a = new TTestExpression();
  TTestPair* inner = new TTestPair();
  TTestExpression* deep = new TTestExpression();
  pair->Left = a;
  pair->Right = inner;
  inner->Left = deep;
  pair->AddChildNode(a);
  pair->AddChildNode(inner);
  inner->AddChildNode(deep);
  pair->AddChildNode(nullptr);
  EXPECT_EQ(pair->ChildNodes(), (std::vector<TASTNode*>{a, inner}));
  // A field that only refers to a node with a parent of its own holds no child.
  TTestPair* other = new TTestPair();
  other->Left = deep;
  EXPECT_TRUE(other->ChildNodes().empty());
  EXPECT_EQ(deep->Parent, inner);
  EXPECT_EQ(deep->HasParentNode(pair), 1);
  EXPECT_EQ(deep->HasParentNode(inner), 1);
  EXPECT_EQ(deep->HasParentNode(deep), 0);
  EXPECT_EQ(pair->HasParentNode(deep), 0);

  pair->SetExtern();
  EXPECT_EQ(pair->IsExtern, 1);
  EXPECT_EQ(a->IsExtern, 1);
  EXPECT_EQ(deep->IsExtern, 1);
}

TEST_F(ASTNodeTest, ChildListsSkipWhatIsNoNode) {
  TTestPair* parent = new TTestPair();
  TList* list = new TList();
  TTestExpression* x = new TTestExpression();
  TTestExpression* y = new TTestExpression();
  list->Items = {x, new TStringObject("Base"), new TList(), y};
  parent->AddChildNodeList(list);
  EXPECT_EQ(x->Parent, parent);
  EXPECT_EQ(y->Parent, parent);
  TTestPair* other = new TTestPair();
  other->AddChildNodeArray(std::vector<TASTNode*>{nullptr, y, nullptr});
  EXPECT_EQ(y->Parent, other);
}

TEST_F(ASTNodeTest, ReplaceChildNode) {
  TTestPair* pair = new TTestPair();
  TTestExpression* left = new TTestExpression();
  TTestExpression* right = new TTestExpression();
  pair->Left = left;
  pair->Right = right;
  pair->AddChildNode(left);
  pair->AddChildNode(right);
  pair->AddChildNode(left);

  TTestExpression* cast = new TTestExpression();
  pair->ReplaceChildNode(left, cast);
  EXPECT_EQ(pair->Left, cast);
  EXPECT_EQ(pair->Right, right);
  EXPECT_EQ(pair->ChildNodes(), (std::vector<TASTNode*>{cast, right}));
  EXPECT_EQ(cast->Parent, pair);
  EXPECT_EQ(left->Parent, pair);  // the old node keeps its parent

  // A replacement of a more general class fits a general field.
  TTestPair* other = new TTestPair();
  pair->ReplaceChildNode(right, other);
  EXPECT_EQ(pair->Right, other);

  // Neither a field nor a child: only the replacement's parent changes.
  TTestExpression* stranger = new TTestExpression();
  TTestExpression* newcomer = new TTestExpression();
  pair->ReplaceChildNode(stranger, newcomer);
  EXPECT_EQ(pair->ChildNodes().size(), 2u);
  EXPECT_EQ(pair->Left, cast);
  EXPECT_EQ(newcomer->Parent, pair);
}

TEST_F(ASTNodeTest, ReplacingWithANodeOfTheWrongClassIsAnInternalError) {
  TTestPair* pair = new TTestPair();
  TTestExpression* left = new TTestExpression();
  pair->Left = left;
  TTestPair* wrong = new TTestPair();
  EXPECT_EXIT(pair->ReplaceChildNode(left, wrong), testing::ExitedWithCode(255), "");
}

TEST_F(ASTNodeTest, LocationText) {
  TTestExpression node;
  node.LocationFromString("3-5:1-10");
  EXPECT_EQ(node.StartLine, 3);
  EXPECT_EQ(node.EndLine, 5);
  EXPECT_EQ(node.StartCol, 1);
  EXPECT_EQ(node.EndCol, 10);
  EXPECT_EQ(node.ToString(), "3-5:1-10");
  node.LocationFromString(" 7- 8: 2-3");
  EXPECT_EQ(node.ToString(), "7-8:2-3");

  TTestExpression copy;
  node.SetSourceFile("/a.zn");
  copy.CopyLocation(&node);
  EXPECT_EQ(copy.ToString(), "7-8:2-3");
  EXPECT_EQ(copy.SourceFile(), "/a.zn");
}

TEST_F(ASTNodeTest, AddDependencyTravelsUp) {
  struct TRecorder : public TTestPair {
    std::vector<std::pair<TASTNode*, TASTNode*>> Seen;
    bool KeepsDependencies() const override { return true; }
    int AddDependency(TASTNode* d, TASTNode* u) override {
      Seen.emplace_back(d, u);
      return 0;
    }
  };
  TRecorder* top = new TRecorder();
  TTestPair* mid = new TTestPair();
  TTestExpression* user = new TTestExpression();
  TTestExpression* declaration = new TTestExpression();
  top->AddChildNode(mid);
  mid->AddChildNode(user);
  user->AddDependency(declaration, user);
  ASSERT_EQ(top->Seen.size(), 1u);
  EXPECT_EQ(top->Seen[0].first, declaration);
  EXPECT_EQ(top->Seen[0].second, user);
  TTestExpression orphan;
  EXPECT_EQ(orphan.AddDependency(declaration, &orphan), 0);  // no parent: nothing happens
}

TEST_F(ASTNodeTest, SemanticErrorReport) {
  TTestExpression node;
  node.SetSourceFile("/src/main.zn");
  node.LocationFromString("7-7:12-18");
  EXPECT_EXIT(
      {
        dup2(2, 1);
        TASTNode::Abort("Invalid Datatype", &node);
      },
      testing::ExitedWithCode(255),
      "^Semantic error: Invalid Datatype\nIn file /src/main.zn\nIn line 7-7\nIn column 12-18\n$");
}

}  // namespace
}  // namespace zintrel
