// Declarations, names and constants after the semantic check of real programs.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "../CheckedProgram.h"
#include "cpp/CPPTarget.h"
#include "frontend/Bridge.h"
#include "model/AllNodes.h"
#include "model/NodeFactory.h"
#include "model/Scope.h"
#include "frontend/Tokens.h"
#include "modules/DependencyNode.h"

namespace zintrel {
namespace {

using testing_support::CheckedProgram;

template <class T>
T* As(TASTNode* node) {
  return dynamic_cast<T*>(node);
}

TVariableDeclNode* Statement(TProgramNode* root, size_t index) {
  return As<TVariableDeclNode>(root->Statements.at(index));
}

TEST(Declarations, VariablesResolveToTheirDeclarations) {
  CheckedProgram p("Global Total:Long = 5\nLocal copy:Long = TOTAL\n");
  ASSERT_EQ(p.output, "Compiling " + p.path + "\n");
  TVariableDeclNode* total = Statement(p.Root(), 0);
  TVariableDeclNode* copy = Statement(p.Root(), 1);
  auto* use = As<TVariableNode>(copy->Value);
  ASSERT_NE(use, nullptr);
  EXPECT_EQ(use->Origin, total);
  EXPECT_EQ(use->Identifier, "TOTAL");  // the spelling of the use is kept
  EXPECT_EQ(use->Datatype, total->Datatype);  // shared, not copied
  EXPECT_EQ(use->IsWritable(), 1);
  EXPECT_EQ(use->IsConstant(), 0);
  EXPECT_EQ(copy->CorrectnessChecked, 1);
}

TEST(Declarations, StringLiteralsShareTheTypeOfTheStringClass) {
  CheckedProgram p("Local a:String = \"x\"\nLocal b:String = \"y\"\n");
  ASSERT_EQ(p.output, "Compiling " + p.path + "\n");
  auto* x = As<TLiteralNode>(Statement(p.Root(), 0)->Value);
  auto* y = As<TLiteralNode>(Statement(p.Root(), 1)->Value);
  ASSERT_TRUE(x != nullptr && y != nullptr);
  EXPECT_EQ(x->Datatype, y->Datatype);
  ASSERT_NE(x->Datatype->Compound, nullptr);
  EXPECT_EQ(x->Datatype->Compound->Identifier, "String");
  // Without a String class the literal still reports it, where it stands.
  EXPECT_EXIT(
      {
        dup2(2, 1);
        CheckedProgram("Local n:Int = 1\nLocal t:Int = 1 + \"abc\"\n", false, false);
      },
      testing::ExitedWithCode(255),
              "Class 'String' not found\nIn file .*main.zn\nIn line 2-2\nIn column 19-24\n");
}

TEST(Declarations, ImplicitConversionsBecomeCasts) {
  CheckedProgram p("Local x:Int = 1.5\nLocal y:Float = 2.5\n");
  TVariableDeclNode* x = Statement(p.Root(), 0);
  auto* cast = As<TTypeCastExpression>(x->Value);
  ASSERT_NE(cast, nullptr);
  EXPECT_EQ(cast->Datatype->TypeKind, TYPE_INT);
  EXPECT_NE(cast->Datatype, x->Datatype);  // the target type is a copy
  auto* literal = As<TLiteralNode>(cast->TargetExp);
  ASSERT_NE(literal, nullptr);
  EXPECT_EQ(literal->FloatValue, 1.5f);
  EXPECT_EQ(cast->Parent, x);
  EXPECT_EQ(literal->Parent, cast);
  EXPECT_EQ(x->ChildNodes().front(), cast);
  // Equal types need no cast.
  EXPECT_NE(As<TLiteralNode>(Statement(p.Root(), 1)->Value), nullptr);
}

TEST(Declarations, ConstantsOfABlockAreDeclaredFirst) {
  CheckedProgram p("Function f:Int()\n  Local y:Int = k\n  Const k:Int = 2\n  Return y\nEndFunction\n");
  EXPECT_EQ(p.output, "Compiling " + p.path + "\n");
}

TEST(Declarations, ConstantsFold) {
  CheckedProgram p(
      "Const A:Int = 7\nConst B:Int = (A)\nConst F:Float = 2.5\nConst D:Double = 2.5d\n"
      "Const T:Bool = True\nConst U:UByte = 255UB\nConst N:Object = Null\n");
  auto value = [&](size_t i) { return Statement(p.Root(), i)->Value; };
  TExpressionNode* b = value(1);
  ASSERT_NE(As<TGroupingExpression>(b), nullptr);
  EXPECT_EQ(b->IsConstant(), 1);
  b->EvaluateResult();
  EXPECT_EQ(b->GetCastedIntResult(), 7);
  EXPECT_EQ(b->GetCastedStringResult(), "7");
  TExpressionNode* f = value(2);
  f->EvaluateResult();
  EXPECT_EQ(f->GetCastedStringResult(), "2.50000000");
  EXPECT_EQ(f->GetCastedDoubleResult(), 2.5);
  TExpressionNode* d = value(3);
  d->EvaluateResult();
  EXPECT_EQ(d->GetCastedStringResult(), "2.5000000000000000");
  TExpressionNode* t = value(4);
  t->EvaluateResult();
  EXPECT_EQ(t->GetCastedIntResult(), 1);
  TExpressionNode* u = value(5);
  u->EvaluateResult();
  EXPECT_EQ(u->GetCastedIntResult(), 255);
  EXPECT_EQ(u->EvaluateDatatype()->IsUnsigned, 1);
  TExpressionNode* n = value(6);
  n->GenericResult.Int = 99;
  n->EvaluateResult();
  EXPECT_EQ(n->GetIntResult(), 0);
}

TEST(Declarations, CastedReadsOfFoldedValues) {
  ActiveTarget = new TCPPTarget();
  auto literal = [](int32_t kind, const char* text) {
    return ActiveTarget->CreateLiteralNode()->Create(
        ActiveTarget->CreateDatatype()->Create(kind, nullptr, 0), text);
  };
  TLiteralNode* positive = literal(TYPE_FLOAT, "2.75");
  positive->EvaluateResult();
  EXPECT_EQ(positive->GetCastedIntResult(), 2);
  TLiteralNode* negative = literal(TYPE_DOUBLE, "-2.75");
  negative->EvaluateResult();
  EXPECT_EQ(negative->GetCastedIntResult(), -2);
  TLiteralNode* minus = literal(TYPE_INT, " -5");
  minus->EvaluateResult();
  EXPECT_EQ(minus->GetCastedStringResult(), "-5");
  TLiteralNode* smallest = literal(TYPE_LONG, "-9223372036854775808");
  smallest->EvaluateResult();
  EXPECT_EQ(smallest->GetCastedStringResult(), "-9223372036854775808");
  TLiteralNode* huge = literal(TYPE_DOUBLE, "1e300");
  huge->EvaluateResult();
  EXPECT_EQ(huge->GetCastedIntResult(), INT64_MAX);  // saturates instead of overflowing
  TLiteralNode* text = ActiveTarget->CreateLiteralNode();
  text->LiteralKind = tok::TOK_STRING;
  text->CheckCorrectness(nullptr);
  text->EvaluateResult();
  EXPECT_EQ(text->IsConstant(), 0);
  EXPECT_EQ(text->GetCastedStringResult(), "");
}

TEST(Declarations, DependencyMapsKeepTheFirstNonExternUser) {
  std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                 ("zintrel-deps-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "lib.zn") << "Global Shared:Int\nClass Thing\nEndClass\n";
  std::ofstream(folder / "main.zn") << testing_support::CoreClasses
                                    << "Import \"lib.zn\"\n"
                                       "Local x:Int = Shared\n"
                                       "Local y:Int = shared\n"
                                       "Class Holder\n  Field item:Thing\nEndClass\n";
  TCompiler c;
  testing::internal::CaptureStdout();
  c.Setup({"a.out", "", "", "", "on", "cpp", ""}, (folder / "main.zn").string());
  c.Parse();
  c.SemanticAnalysis();
  std::string output = testing::internal::GetCapturedStdout();
  ASSERT_EQ(c.Roots.size(), 2u) << output;
  TProgramNode* main = c.Roots[0];
  TProgramNode* lib = c.Roots[1];
  ASSERT_TRUE(main->Dependencies->Contains(lib->Dependencies));
  const TDependencyNode::TUseMap& uses = main->Dependencies->Dependencies.at(lib->Dependencies);
  TVariableDeclNode* shared = As<TVariableDeclNode>(lib->Statements[0]);
  ASSERT_EQ(uses.count(shared), 1u);
  // The first use is kept: the value of x.
  EXPECT_EQ(uses.at(shared), Statement(main, 0)->Value);
  TClassNode* thing = lib->Classes[0];
  ASSERT_EQ(uses.count(thing), 1u);
  // The class's signature uses Thing too, so the class records it as well.
  TClassNode* holder = main->Classes.back();
  ASSERT_TRUE(holder->Dependencies->Contains(lib->Dependencies));
  EXPECT_EQ(holder->Dependencies->Dependencies.at(lib->Dependencies).count(thing), 1u);
  // Object is used by every class's parent list, from the file that declares it.
  EXPECT_TRUE(main->Dependencies->Contains(main->Dependencies));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zintrel

namespace zintrel {
namespace {

// Messages no source text can reach through the grammar, raised by the checks themselves.
class UnreachableFromSource : public testing::Test {
 protected:
  void SetUp() override {
    ActiveTarget = new TCPPTarget();
    TASTNode::SetRuleLocation(nullptr);
    TASTNode::CommonRoot = nullptr;
    TASTNode::CommonSourceFile = "/src/main.zn";
  }
};

TEST_F(UnreachableFromSource, MethodOutsideAClass) {
  int32_t header = TVariableNode::Emit(
      TName("Orphan"),
      TDatatype::Emit(TYPE_FUNCTION, TDatatype::Emit(TYPE_VOID, -1, 0), TListEmitter::EmitEmptyList()));
  auto* method = dynamic_cast<TFunctionNode*>(
      HandleToNode(TFunctionNode::Emit(header, TListEmitter::EmitEmptyList(), 1, 0)));
  ASSERT_NE(method, nullptr);
  TScope scope;
  method->CheckSignatureCorrectness(&scope);  // the signature pass accepts it
  EXPECT_EXIT(
      {
        dup2(2, 1);
        method->CheckCorrectness(&scope);
      },
      testing::ExitedWithCode(255), "^Semantic error: Methods can only be declared inside classes\n");
}

TEST_F(UnreachableFromSource, VariableWithAnotherWrittenType) {
  TVariableDeclNode* declaration = ActiveTarget->CreateVariableDeclNode()->Create(
      DECL_GLOBAL, "count", ActiveTarget->CreateDatatype()->Create(TYPE_INT, nullptr, 0), nullptr);
  TScope scope;
  scope.Insert("count", declaration);
  TVariableNode* use = ActiveTarget->CreateVariableNode()->Create(
      "Count", ActiveTarget->CreateDatatype()->Create(TYPE_LONG, nullptr, 0));
  EXPECT_EXIT(
      {
        dup2(2, 1);
        use->CheckCorrectness(&scope);
      },
      testing::ExitedWithCode(255), "^Semantic error: Variable datatype does not match declared datatype\n");
}

TEST_F(UnreachableFromSource, FoldingAnExternConstant) {
  TVariableDeclNode* constant = ActiveTarget->CreateVariableDeclNode()->Create(
      DECL_CONST, "Max", ActiveTarget->CreateDatatype()->Create(TYPE_INT, nullptr, 0), nullptr);
  constant->IsExtern = 1;
  TScope scope;
  constant->CheckCorrectness(&scope);  // an extern constant needs no value
  TVariableNode* use = ActiveTarget->CreateVariableNode()->Create("max", nullptr);
  use->CheckCorrectness(&scope);
  EXPECT_EQ(use->IsConstant(), 1);  // using it is fine; folding it is not
  EXPECT_EXIT(
      {
        dup2(2, 1);
        use->EvaluateResult();
      },
      testing::ExitedWithCode(255),
      "^Semantic error: Extern constants are not allowed in constant expressions\n");
}

}  // namespace
}  // namespace zintrel
