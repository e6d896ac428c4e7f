// Typing, folding and tree rewrites of expressions and statements after the semantic check.
#include <gtest/gtest.h>

#include <pthread.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "../CheckedProgram.h"
#include "cpp/CPPTarget.h"
#include "model/AllNodes.h"
#include "frontend/Tokens.h"

namespace zintrel {
namespace {

using testing_support::CheckedProgram;

template <class T>
T* As(TASTNode* node) {
  return dynamic_cast<T*>(node);
}

// The value of the n-th program-level declaration.
TExpressionNode* ValueOf(const CheckedProgram& p, size_t n) {
  return As<TVariableDeclNode>(p.Root()->Statements.at(n))->Value;
}

struct Folded {
  std::string Type;
  std::string Text;
};

// Folds the initial value of a single declaration "Const c:<type> = <expression>".
Folded Fold(const std::string& type, const std::string& expression) {
  CheckedProgram p("Const c:" + type + " = " + expression + "\n");
  EXPECT_EQ(p.output, "Compiling " + p.path + "\n") << expression;
  // The declared type is the expression's own, so no implicit cast wraps the value.
  TExpressionNode* value = ValueOf(p, 0);
  EXPECT_EQ(value->IsConstant(), 1) << expression;
  value->EvaluateResult();
  return {value->EvaluateDatatype()->ToString(), value->GetCastedStringResult()};
}

TEST(Folding, IntegerArithmeticWrapsOn64Bits) {
  EXPECT_EQ(Fold("Int", "7 / 2").Text, "3");
  EXPECT_EQ(Fold("Int", "-7 / 2").Text, "-3");
  EXPECT_EQ(Fold("Int", "-7 Mod 2").Text, "-1");
  Folded shifted = Fold("Int", "1 Shl 40");
  EXPECT_EQ(shifted.Type, "Int");  // no cut to 32 bits
  EXPECT_EQ(shifted.Text, "1099511627776");
  EXPECT_EQ(Fold("Int", "-8 Shr 1").Text, "9223372036854775804");
  EXPECT_EQ(Fold("Long", "9223372036854775807L + 1").Text, "-9223372036854775808");
  EXPECT_EQ(Fold("Int", "(1 + 2) * 3 - 4 ~ 1").Text, "4");
  EXPECT_EQ(Fold("Int", "1 + 2 Mod 3").Text, "0");  // Mod binds more loosely than +
}

TEST(Folding, ComparisonsAndLogicGiveBool) {
  EXPECT_EQ(Fold("Bool", "3 < 4").Type, "Bool");
  EXPECT_EQ(Fold("Bool", "3 < 4").Text, "1");
  EXPECT_EQ(Fold("Bool", "2.5 > 1").Text, "1");
  EXPECT_EQ(Fold("Bool", "0 And 5").Text, "0");
  EXPECT_EQ(Fold("Bool", "0.0 Or 2.0").Text, "1");
  EXPECT_EQ(Fold("Int", "Byte(3) + Byte(4)").Type, "Int");
}

TEST(Folding, RealsAndPower) {
  Folded half = Fold("Float", "7.0 / 2");
  EXPECT_EQ(half.Type, "Float");
  EXPECT_EQ(half.Text, "3.50000000");
  EXPECT_EQ(Fold("Double", "7.5d Mod 2").Text, "1.5000000000000000");
  Folded power = Fold("Float", "2 ^ 3");
  EXPECT_EQ(power.Type, "Float");
  EXPECT_EQ(power.Text, "8.00000000");
  EXPECT_EQ(Fold("Double", "2 ^ 0.5d").Text, "1.4142135623730951");
  EXPECT_EQ(Fold("Double", "1 / 0.0d").Text, "inf");
}

TEST(Folding, CastsAndUnaryOperators) {
  EXPECT_EQ(Fold("Int", "Int(3.7)").Text, "3");
  EXPECT_EQ(Fold("Int", "Int(-3.7)").Text, "-3");
  EXPECT_EQ(Fold("Byte", "Byte(300)").Text, "44");
  EXPECT_EQ(Fold("Byte", "Byte(-1)").Text, "255");
  EXPECT_EQ(Fold("Int", "Int(4294967295L)").Text, "-1");
  EXPECT_EQ(Fold("Long", "Long(-2.5d)").Text, "-2");
  EXPECT_EQ(Fold("Float", "Float(1)").Text, "1.00000000");
  EXPECT_EQ(Fold("Bool", "Bool(-0.0d)").Text, "1");  // any bit set counts
  EXPECT_EQ(Fold("Byte", "~Byte(0)").Text, "255");
  EXPECT_EQ(Fold("Int", "~0").Text, "-1");
  Folded notFive = Fold("Int", "Not 5");
  EXPECT_EQ(notFive.Type, "Int");
  EXPECT_EQ(notFive.Text, "0");
  EXPECT_EQ(Fold("Double", "-2.5d").Text, "-2.5000000000000000");
}

TEST(Folding, DivisionByAConstantZeroIsReported) {
  CheckedProgram p("Const c:Int = 1 / 0\nConst d:Int = 1 Mod (2 - 2)\n");
  ASSERT_EQ(p.output, "Compiling " + p.path + "\n");  // the check accepts it
  TExpressionNode* value = ValueOf(p, 0);
  EXPECT_EXIT(
      {
        dup2(2, 1);
        value->EvaluateResult();
      },
      testing::ExitedWithCode(255),
      "^Semantic error: Division by zero in constant expression\nIn file .*main.zn\n"
      "In line 9-9\nIn column 15-20\n$");
  TExpressionNode* remainder = ValueOf(p, 1);
  EXPECT_EXIT(
      {
        dup2(2, 1);
        remainder->EvaluateResult();
      },
      testing::ExitedWithCode(255), "^Semantic error: Division by zero in constant expression\n");
}

TEST(Rewrites, ArgumentsOfAnotherTypeAreCast) {
  CheckedProgram p(
      "Function f:Float(x:Float, y:Int)\n  Return x\nEndFunction\n"
      "Local i:Int = 1\nLocal r:Float = f(i, i)\n");
  ASSERT_EQ(p.output, "Compiling " + p.path + "\n");
  auto* call = As<TFunctionCall>(ValueOf(p, 1));
  ASSERT_NE(call, nullptr);
  ASSERT_EQ(call->Parameters.size(), 2u);
  auto* cast = As<TTypeCastExpression>(call->Parameters[0]);
  ASSERT_NE(cast, nullptr);
  EXPECT_EQ(cast->Datatype->ToString(), "Float");
  EXPECT_EQ(cast->Parent, call);
  EXPECT_NE(As<TVariableNode>(call->Parameters[1]), nullptr);  // already an Int
  EXPECT_EQ(call->EvaluateDatatype()->ToString(), "Float");
}

TEST(Rewrites, NewBecomesAConstructorCall) {
  CheckedProgram p(
      "Class TPoint\n  Field x:Int\n  Method TPoint(a:Int = 0, b:Int = 0)\n    x = a\n  EndMethod\nEndClass\n"
      "Local p:TPoint = New TPoint\nLocal q:TPoint = New TPoint(1, 2)\nLocal o:Object = TPoint(q)\n");
  ASSERT_EQ(p.output, "Compiling " + p.path + "\n");
  for (size_t i : {0u, 1u}) {
    auto* call = As<TFunctionCall>(ValueOf(p, i));
    ASSERT_NE(call, nullptr);
    auto* member = As<TMemberAccessExpression>(call->TargetExp);
    ASSERT_NE(member, nullptr);
    EXPECT_EQ(member->Identifier, "__CreateTPoint");
    auto* creation = As<TNewExpression>(member->TargetExp);
    ASSERT_NE(creation, nullptr);
    EXPECT_TRUE(creation->Parameters.empty());
    EXPECT_EQ(call->Parameters.size(), i == 0 ? 0u : 2u);
    EXPECT_EQ(call->EvaluateDatatype()->ToString(), "TPoint");
  }
  // A class name called with one argument is a cast (to Object after the implicit conversion).
  auto* outer = As<TTypeCastExpression>(ValueOf(p, 2));
  ASSERT_NE(outer, nullptr);
  auto* classCast = As<TTypeCastExpression>(outer->TargetExp);
  ASSERT_NE(classCast, nullptr);
  EXPECT_EQ(classCast->Datatype->ToString(), "TPoint");
}

TEST(Rewrites, ConstructorReturnsSelfAndSuperCallsTheParentConstructor) {
  CheckedProgram p(
      "Class A\n  Method A(v:Int)\n    Return\n  EndMethod\nEndClass\n"
      "Class B Extends A\n  Method B()\n    Super(1)\n  EndMethod\nEndClass\n");
  ASSERT_EQ(p.output, "Compiling " + p.path + "\n");
  TClassNode* a = p.Root()->Classes[3];
  auto* ret = As<TReturnNode>(a->Constructor->Statements->Statements[0]);
  ASSERT_NE(ret, nullptr);
  auto* self = As<TLiteralNode>(ret->TargetExp);
  ASSERT_NE(self, nullptr);
  EXPECT_TRUE(self->IsSelf());
  EXPECT_EQ(self->Datatype->ToString(), "A");
  TClassNode* b = p.Root()->Classes[4];
  auto* call = As<TFunctionCall>(b->Constructor->Statements->Statements[0]);
  ASSERT_NE(call, nullptr);
  EXPECT_EQ(call->IsStatement, 1);
  auto* member = As<TMemberAccessExpression>(call->TargetExp);
  ASSERT_NE(member, nullptr);
  EXPECT_EQ(member->Identifier, "__CreateA");
  EXPECT_TRUE(As<TLiteralNode>(member->TargetExp)->IsSuper());
}

TEST(Rewrites, SelectBecomesADeclarationAndAnIfChain) {
  CheckedProgram p(
      "Function f(x:Int)\n  Select x\n    Case 1\n      x = 10\n    Default\n      x = 0\n"
      "    Case 2\n      x = 20\n  EndSelect\nEndFunction\n");
  ASSERT_EQ(p.output, "Compiling " + p.path + "\n");
  TFunctionNode* f = p.Root()->Functions[0];
  auto* lowered = As<TStatementList>(f->Statements->Statements[0]);
  ASSERT_NE(lowered, nullptr);
  ASSERT_EQ(lowered->Statements.size(), 2u);
  auto* selected = As<TVariableDeclNode>(lowered->Statements[0]);
  ASSERT_NE(selected, nullptr);
  EXPECT_EQ(selected->Identifier.str().rfind("__select", 0), 0u);
  EXPECT_EQ(selected->DeclKind, DECL_LOCAL);
  auto* chain = As<TIfNode>(lowered->Statements[1]);
  ASSERT_NE(chain, nullptr);
  auto* first = As<TBinaryOpExpression>(chain->Expression);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Operator, '=');
  EXPECT_EQ(As<TVariableNode>(first->LeftExp)->Origin, selected);
  ASSERT_EQ(chain->ElseIfList.size(), 1u);  // the case written after the Default
  EXPECT_EQ(As<TLiteralNode>(As<TBinaryOpExpression>(chain->ElseIfList[0]->Expression)->RightExp)
                ->IntValue,
            2);
  ASSERT_NE(chain->ElseBranch, nullptr);
  EXPECT_EQ(lowered->Parent, f->Statements);
}

TEST(Rewrites, SelectWithoutCasesRunsTheDefault) {
  CheckedProgram p("Local x:Int\nSelect x\n  Default\n    x = 1\nEndSelect\nSelect 2\nEndSelect\n");
  ASSERT_EQ(p.output, "Compiling " + p.path + "\n");
  auto* withDefault = As<TStatementList>(p.Root()->Statements[1]);
  ASSERT_NE(withDefault, nullptr);
  ASSERT_EQ(withDefault->Statements.size(), 2u);
  // The default statements keep a block (and scope) of their own.
  auto* block = As<TIfNode>(withDefault->Statements[1]);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(As<TLiteralNode>(block->Expression)->LiteralKind, tok::KEY_TRUE);
  EXPECT_NE(As<TAssignmentNode>(block->Statements->Statements[0]), nullptr);
  auto* empty = As<TStatementList>(p.Root()->Statements[2]);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->Statements.size(), 1u);
}

TEST(Rewrites, DefaultOfASelectWithoutCasesHasItsOwnScope) {
  CheckedProgram inner("Local y:Int = 0\nSelect 1\n  Default\n    Local y:Int = 1\nEndSelect\n");
  EXPECT_EQ(inner.output, "Compiling " + inner.path + "\n");
  EXPECT_EXIT(
      {
        dup2(2, 1);
        CheckedProgram outer("Select 1\n  Default\n    Local z:Int = 1\nEndSelect\nLocal w:Int = z\n",
                             true, false);
      },
      testing::ExitedWithCode(255), "Semantic error: 'z' is undeclared\n");
}

TEST(Folding, AConstantUsedManyTimesIsFoldedOnce) {
  std::string source = "Const c0:Int = 1\n";
  for (int i = 1; i <= 60; ++i)
    source += "Const c" + std::to_string(i) + ":Int = c" + std::to_string(i - 1) + " + c" +
              std::to_string(i - 1) + "\n";
  CheckedProgram p(source);
  ASSERT_EQ(p.output, "Compiling " + p.path + "\n");
  TExpressionNode* last = ValueOf(p, 60);
  last->EvaluateResult();  // doubling at every level: without folding once, 2^60 steps
  EXPECT_EQ(last->GetIntResult(), int64_t{1} << 60);
}

TEST(Rewrites, AssignmentAndReturnConvertExplicitly) {
  CheckedProgram p("Local f:Float\nf = 3\nFunction g:Double()\n  Return 1\nEndFunction\n");
  ASSERT_EQ(p.output, "Compiling " + p.path + "\n");
  auto* assignment = As<TAssignmentNode>(p.Root()->Statements[1]);
  ASSERT_NE(assignment, nullptr);
  auto* cast = As<TTypeCastExpression>(assignment->RightExp);
  ASSERT_NE(cast, nullptr);
  EXPECT_EQ(cast->Datatype->ToString(), "Float");
  EXPECT_EQ(assignment->ChildNodes().back(), cast);
  auto* ret = As<TReturnNode>(p.Root()->Functions[0]->Statements->Statements[0]);
  EXPECT_EQ(As<TTypeCastExpression>(ret->TargetExp)->Datatype->ToString(), "Double");
}

TEST(Rewrites, ForLoopSplitsTheEqualityAndDeclaresItsVariable) {
  CheckedProgram p("Local i:Int\nFor i = 1 To 3\nNext\nFor Local j:Long = 5 Until 0 Step -1\nNext\n");
  ASSERT_EQ(p.output, "Compiling " + p.path + "\n");
  auto* plain = As<TForNode>(p.Root()->Statements[1]);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(As<TVariableNode>(plain->Variable)->Identifier, "i");
  EXPECT_EQ(As<TLiteralNode>(plain->FromExpression)->IntValue, 1);
  EXPECT_EQ(plain->LoopVariable, plain->Variable);
  auto* declared = As<TForNode>(p.Root()->Statements[2]);
  auto* loopVariable = As<TVariableDeclNode>(declared->LoopVariable);
  ASSERT_NE(loopVariable, nullptr);
  EXPECT_EQ(loopVariable->Identifier, "j");
  EXPECT_EQ(As<TVariableNode>(declared->Variable)->Origin, loopVariable);
  EXPECT_EQ(declared->SkipLast, 1);
  declared->StepExpression->EvaluateResult();
  EXPECT_EQ(declared->StepExpression->GetCastedIntResult(), -1);
}

}  // namespace
}  // namespace zintrel

namespace zintrel {
namespace {

// Runs a compilation of the text on a thread with a small stack.
void* CheckOnSmallStack(void* data) {
  TASTNode::InitStackLimit();
  const std::string& path = *static_cast<const std::string*>(data);
  TCompiler c;
  c.Setup({"a.out", "", "", "", "on", "cpp", ""}, path);
  c.Parse();
  c.SemanticAnalysis();
  return nullptr;
}

TEST(Robustness, DeepTreesAreReportedInsteadOfOverflowingTheStack) {
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("zintrel-deep-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::string path = (folder / "main.zn").string();
  {
    std::ofstream out(path);
    out << "Local y:Int = 1";
    for (int i = 0; i < 100000; ++i) out << "+1";
    out << "\n";
  }
  EXPECT_EXIT(
      {
        dup2(2, 1);
        pthread_attr_t attributes;
        pthread_attr_init(&attributes);
        pthread_attr_setstacksize(&attributes, 1 << 20);
        pthread_t thread;
        pthread_create(&thread, &attributes, CheckOnSmallStack, &path);
        pthread_join(thread, nullptr);
        std::exit(0);
      },
      testing::ExitedWithCode(255), "Semantic error: Program nested too deeply\nIn file .*main.zn\n");
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zintrel
