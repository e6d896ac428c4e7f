// The parser over real source text: grouping and precedence as the trees show them, statement
// forms, class bodies, extern blocks and imports, rule locations on nodes, syntax errors with
// the location left in the lexer's record, and stack exhaustion on pathological nesting.
#include "frontend/Parser.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "cpp/CPPTarget.h"
#include "driver/Compiler.h"
#include "model/AllNodes.h"
#include "frontend/Lexer.h"
#include "model/NodeFactory.h"

namespace zintrel {
namespace {

std::string Shape(const TASTNode* node);

std::string Join(const std::vector<std::string>& parts) {
  std::string out;
  for (const std::string& part : parts) {
    if (!out.empty()) out += ' ';
    out += part;
  }
  return out;
}

template <class List>
std::string Shapes(const List& nodes) {
  std::vector<std::string> parts;
  for (const auto* node : nodes) parts.push_back(Shape(node));
  return Join(parts);
}

std::string TypeShape(const TDatatype* type) {
  if (type == nullptr) return "-";
  switch (type->TypeKind) {
    case TYPE_POINTER: return TypeShape(type->NestedType) + " Ptr";
    case TYPE_ARRAY:
      return TypeShape(type->NestedType) + "[" + std::to_string(type->Dimension) + "]";
    case TYPE_COMPOUND:
    case TYPE_STRING: return type->Identifier;
    case TYPE_FUNCTION: {
      std::vector<std::string> parameters;
      for (size_t i = 0; i < type->Signature().Parameters.size(); ++i)
        parameters.push_back(type->Signature().Identifiers[i] + ":" + TypeShape(type->Signature().Parameters[i]));
      return TypeShape(type->ReturnType()) + "(" + Join(parameters) + ")";
    }
    default: {
      // Primitive kinds share their spelling with the keyword; unsigned ones keep a mark.
      static const char* const Names[] = {"Byte", "Short", "Int", "Long", "Float", "Double"};
      std::string name = type->TypeKind == TYPE_BOOL   ? "Bool"
                         : type->TypeKind == TYPE_VOID ? "Void"
                         : (type->TypeKind >= TYPE_BYTE && type->TypeKind <= TYPE_DOUBLE)
                             ? Names[type->TypeKind - TYPE_BYTE]
                             : "?" + std::to_string(type->TypeKind);
      return type->IsUnsigned ? "U" + name : name;
    }
  }
}

std::string Block(const TStatementList* block) {
  if (block == nullptr) return "-";
  return "[" + Join({Shapes(block->Constants), Shapes(block->Statements)}) + "]";
}

// A compact prefix form of a subtree: operators by their text, calls, members, blocks in [].
std::string Shape(const TASTNode* node) {
  if (node == nullptr) return "-";
  if (auto* n = dynamic_cast<const TLiteralNode*>(node)) {
    switch (n->LiteralKind) {
      case tok::TOK_FLOAT: return std::to_string(n->FloatValue) + "f";
      case tok::TOK_DOUBLE: return std::to_string(n->DoubleValue) + "d";
      case tok::TOK_STRING: return "\"" + n->StringValue + "\"";
      case tok::KEY_NULL:
      case tok::KEY_TRUE:
      case tok::KEY_FALSE:
      case tok::KEY_SELF:
      case tok::KEY_SUPER: return TLexer::TokenToString(n->LiteralKind);
      default: return std::to_string(n->IntValue);
    }
  }
  if (auto* n = dynamic_cast<const TVariableNode*>(node))
    return n->Datatype != nullptr ? n->Identifier + ":" + TypeShape(n->Datatype) : n->Identifier.str();
  if (auto* n = dynamic_cast<const TBinaryOpExpression*>(node))
    return "(" + TLexer::TokenToString(n->Operator) + " " + Shape(n->LeftExp) + " " +
           Shape(n->RightExp) + ")";
  if (auto* n = dynamic_cast<const TUnaryOpExpression*>(node))
    return "(" + TLexer::TokenToString(n->Operator) + " " + Shape(n->TargetExp) + ")";
  if (auto* n = dynamic_cast<const TGroupingExpression*>(node))
    return "(group " + Shape(n->TargetExp) + ")";
  if (auto* n = dynamic_cast<const TFunctionCall*>(node))
    return std::string(n->IsStatement ? "(call! " : "(call ") + Shape(n->TargetExp) +
           (n->Parameters.empty() ? "" : " " + Shapes(n->Parameters)) + ")";
  if (auto* n = dynamic_cast<const TMemberAccessExpression*>(node))
    return "(. " + Shape(n->TargetExp) + " " + n->Identifier + ")";
  if (auto* n = dynamic_cast<const TIndexExpression*>(node))
    return "(index " + Shape(n->TargetExp) + " " + Shapes(n->Indices) + ")";
  if (auto* n = dynamic_cast<const TNewExpression*>(node))
    return "(new " + n->Identifier + (n->Parameters.empty() ? "" : " " + Shapes(n->Parameters)) +
           ")";
  if (auto* n = dynamic_cast<const TNewArrayExpression*>(node))
    return "(new " + TypeShape(n->Datatype) + " " + Shapes(n->Sizes) + ")";
  if (auto* n = dynamic_cast<const TTypeCastExpression*>(node))
    return "(cast " + TypeShape(n->Datatype) + " " + Shape(n->TargetExp) + ")";
  if (auto* n = dynamic_cast<const TAutoArrayExpression*>(node))
    return "(array " + Shapes(n->Values) + ")";
  if (auto* n = dynamic_cast<const TAddressExpression*>(node))
    return "(varptr " + Shape(n->TargetExp) + ")";
  if (auto* n = dynamic_cast<const TAssignmentNode*>(node))
    return "(set " + Shape(n->LeftExp) + " " + Shape(n->RightExp) + ")";
  if (auto* n = dynamic_cast<const TVariableDeclNode*>(node))
    return "(" + TLexer::TokenToString(n->DeclKind) + " " + n->Identifier + ":" +
           TypeShape(n->Datatype) + (n->Value != nullptr ? " " + Shape(n->Value) : "") + ")";
  if (auto* n = dynamic_cast<const TReturnNode*>(node)) return "(return " + Shape(n->TargetExp) + ")";
  if (auto* n = dynamic_cast<const TDeleteNode*>(node)) return "(delete " + Shape(n->TargetExp) + ")";
  if (dynamic_cast<const TExitNode*>(node) != nullptr) return "(exit)";
  if (dynamic_cast<const TContinueNode*>(node) != nullptr) return "(continue)";
  if (auto* n = dynamic_cast<const TIfNode*>(node)) {
    std::string out = "(if " + Shape(n->Expression) + " " + Block(n->Statements);
    for (const TElseIfNode* e : n->ElseIfList)
      out += " (elseif " + Shape(e->Expression) + " " + Block(e->Statements) + ")";
    if (n->ElseBranch != nullptr) out += " (else " + Block(n->ElseBranch->Statements) + ")";
    return out + ")";
  }
  if (auto* n = dynamic_cast<const TWhileNode*>(node))
    return "(while " + Shape(n->Expression) + " " + Block(n->Statements) + ")";
  if (auto* n = dynamic_cast<const TRepeatNode*>(node))
    return "(repeat " + Block(n->Statements) + " " + Shape(n->Expression) + ")";
  if (auto* n = dynamic_cast<const TSelectNode*>(node)) {
    std::string out = "(select " + Shape(n->Expression);
    for (const TCaseNode* c : n->CaseList)
      out += " (case " + Shape(c->Expression) + " " + Block(c->Statements) + ")";
    if (n->DefaultCase != nullptr) out += " (default " + Block(n->DefaultCase->Statements) + ")";
    return out + ")";
  }
  if (auto* n = dynamic_cast<const TForWhileNode*>(node))
    return "(forwhile " + Block(n->ForStatements) + " " + Shape(n->WhileExpression) + " " +
           Block(n->Statements) + ")";
  if (auto* n = dynamic_cast<const TForNode*>(node))
    return std::string(n->DefineVariable ? "(for local " : "(for ") + Shape(n->Variable) + " " +
           Shape(n->FromExpression) + (n->SkipLast ? " until " : " to ") +
           Shape(n->ToExpression) + " step " + Shape(n->StepExpression) + " " +
           Block(n->Statements) + ")";
  return "<" + node->GetName() + ">";
}

class ParserTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (ActiveTarget == nullptr) ActiveTarget = new TCPPTarget();
    TCompiler::InitFunctionTable();
  }

  static int ParseText(std::string_view text, const std::string& path = "/tmp/parser_test.zn") {
    TASTNode::CommonSourceFile = path;
    TLexer::LoadText(path, text);
    return Parse();
  }

  // Parses text that must be accepted and returns its root.
  static TProgramNode* Accept(std::string_view text) {
    int result = ParseText(text);
    EXPECT_EQ(result, PARSE_ACCEPTED) << text;
    return result == PARSE_ACCEPTED ? TASTNode::CommonRoot : nullptr;
  }

  // The top-level statements of accepted text, in shape form.
  static std::string Statements(std::string_view text) {
    TProgramNode* root = Accept(text);
    return root != nullptr ? Shapes(root->Statements) : "<rejected>";
  }

  // The right side of "x = " followed by the expression.
  static std::string Expr(const std::string& expression) {
    TProgramNode* root = Accept("x = " + expression + "\n");
    if (root == nullptr || root->Statements.size() != 1) return "<rejected>";
    auto* assignment = dynamic_cast<TAssignmentNode*>(root->Statements[0]);
    return assignment != nullptr ? Shape(assignment->RightExp) : Shape(root->Statements[0]);
  }

  // The location of the token the parser stopped at, as the driver reports it.
  static std::string ErrorAt() {
    TLexer::CalculateLocation();
    return std::to_string(TLexer::ErrorStartLine) + "-" + std::to_string(TLexer::ErrorEndLine) +
           ":" + std::to_string(TLexer::ErrorStartCol) + "-" + std::to_string(TLexer::ErrorEndCol);
  }

  static std::string Span(const TASTNode* node) {
    return std::to_string(node->StartLine) + "-" + std::to_string(node->EndLine) + ":" +
           std::to_string(node->StartCol) + "-" + std::to_string(node->EndCol);
  }
};

TEST_F(ParserTest, BinaryOperatorLevelsAndAssociativity) {
  EXPECT_EQ(Expr("1 + 2 Mod 3"), "(Mod (+ 1 2) 3)");
  EXPECT_EQ(Expr("1 Mod 2 + 3"), "(Mod 1 (+ 2 3))");
  EXPECT_EQ(Expr("1 Shl 2 + 3"), "(+ (Shl 1 2) 3)");
  EXPECT_EQ(Expr("a | b * c & d"), "(& (| a (* b c)) d)");
  EXPECT_EQ(Expr("a ~ b Shr c"), "(Shr (~ a b) c)");
  EXPECT_EQ(Expr("8 - 4 - 2"), "(- (- 8 4) 2)");
  EXPECT_EQ(Expr("8 / 4 / 2"), "(/ (/ 8 4) 2)");
  EXPECT_EQ(Expr("2 ^ 3 ^ 2"), "(^ 2 (^ 3 2))");
  EXPECT_EQ(Expr("a * b ^ c"), "(* a (^ b c))");
  EXPECT_EQ(Expr("a <= b >= c <> d > e < f"), "(< (> (<> (>= (<= a b) c) d) e) f)");
  EXPECT_EQ(Expr("a + 1 < b Mod 2"), "(< (+ a 1) (Mod b 2))");
}

TEST_F(ParserTest, PrefixOperatorsApplyOnceToAPower) {
  EXPECT_EQ(Expr("-2 ^ 2"), "(- (^ 2 2))");
  EXPECT_EQ(Expr("~a * -b"), "(* (~ a) (- b))");
  EXPECT_EQ(Expr("+y"), "y");
  EXPECT_EQ(Expr("Varptr y"), "(varptr y)");
  EXPECT_EQ(ParseText("x = - -y\n"), PARSE_SYNTAX_ERROR);
  EXPECT_EQ(ErrorAt(), "1-1:7-8");
  EXPECT_EQ(ParseText("x = 2 ^ -1\n"), PARSE_SYNTAX_ERROR);
  EXPECT_EQ(ErrorAt(), "1-1:9-10");
}

TEST_F(ParserTest, LogicalOperatorsAndNot) {
  EXPECT_EQ(Expr("a Or b And c"), "(And (Or a b) c)");
  EXPECT_EQ(Expr("Not a And b"), "(And (Not a) b)");
  EXPECT_EQ(Expr("Not a < b"), "(Not (< a b))");
  EXPECT_EQ(ParseText("x = a And Not b\n"), PARSE_SYNTAX_ERROR);
  EXPECT_EQ(ErrorAt(), "1-1:11-14");
}

TEST_F(ParserTest, EqualityComparesTwoOperandsAndDoesNotChain) {
  // A statement a = b = c assigns the comparison of b and c.
  EXPECT_EQ(Statements("a = b = c\n"), "(set a (= b c))");
  // As a condition, a = b < c compares the result of a = b with c.
  EXPECT_EQ(Statements("If a = b < c Then f()\n"), "(if (< (= a b) c) [(call! f)])");
  EXPECT_EQ(ParseText("a = b = c = d\n"), PARSE_SYNTAX_ERROR);
  EXPECT_EQ(ErrorAt(), "1-1:11-12");
  EXPECT_EQ(ParseText("If a < b = c Then f()\n"), PARSE_SYNTAX_ERROR);
  EXPECT_EQ(ErrorAt(), "1-1:10-11");
}

TEST_F(ParserTest, NewExpressions) {
  EXPECT_EQ(Expr("New Foo"), "(new Foo)");
  EXPECT_EQ(Expr("New Foo()"), "(new Foo)");
  EXPECT_EQ(Expr("New Foo(1, 2)"), "(new Foo 1 2)");
  EXPECT_EQ(Expr("New Foo[3]"), "(new Foo[1] 3)");
  EXPECT_EQ(Expr("New Int[2, n]"), "(new Int[2] 2 n)");
  EXPECT_EQ(Expr("New Int Ptr[4]"), "(new Int Ptr[1] 4)");
  EXPECT_EQ(Expr("(New Foo)[3]"), "(index (group (new Foo)) 3)");
  EXPECT_EQ(Expr("New Foo.y"), "(. (new Foo) y)");
  EXPECT_EQ(Expr("New Foo(1).m(2)"), "(call (. (new Foo 1) m) 2)");
  // A New expression is no statement.
  EXPECT_EQ(ParseText("New Foo\n"), PARSE_SYNTAX_ERROR);
  EXPECT_EQ(ErrorAt(), "1-1:8-9");
  EXPECT_EQ(ParseText("New Foo(1)\n"), PARSE_SYNTAX_ERROR);
}

TEST_F(ParserTest, PostfixChainsCallsAndCasts) {
  EXPECT_EQ(Expr("a.b[1].c(2)"), "(call (. (index (. a b) 1) c) 2)");
  EXPECT_EQ(Expr("f(1)(2)[3, 4]"), "(index (call (call f 1) 2) 3 4)");
  EXPECT_EQ(Expr("a[i][j]"), "(index (index a i) j)");
  EXPECT_EQ(Expr("[1, 2, 3]"), "(array 1 2 3)");
  EXPECT_EQ(Expr("[]"), "(array )");
  EXPECT_EQ(Expr("Int(x)"), "(cast Int x)");
  EXPECT_EQ(Expr("Byte Ptr(p)"), "(cast Byte Ptr p)");
  EXPECT_EQ(Expr("Foo(x)"), "(call Foo x)");
  EXPECT_EQ(Expr("Self.x + Super.y"), "(+ (. Self x) (. Super y))");
  EXPECT_EQ(Expr("(a + b) * c"), "(* (group (+ a b)) c)");
}

TEST_F(ParserTest, LiteralValuesReachTheTree) {
  EXPECT_EQ(Expr("3000000000"), "-1294967296");
  EXPECT_EQ(Expr("3000000000L"), "3000000000");
  EXPECT_EQ(Expr("$ff + %101"), "(+ 255 5)");
  EXPECT_EQ(Expr("1.5 + 2.25d"), "(+ 1.500000f 2.250000d)");
  EXPECT_EQ(Expr("\"two words\""), "\"two words\"");
  // A text handed to the tree ends at its first unit whose low byte is zero.
  EXPECT_EQ(Expr(std::string("\"ab\0cd\"", 7)), "\"ab\"");
  EXPECT_EQ(Expr("Null"), "Null");
  EXPECT_EQ(Expr("True Or False"), "(Or True False)");
  TProgramNode* root = Accept("x = 255UB\n");
  ASSERT_NE(root, nullptr);
  auto* literal = dynamic_cast<TLiteralNode*>(
      dynamic_cast<TAssignmentNode*>(root->Statements.at(0))->RightExp);
  ASSERT_NE(literal, nullptr);
  EXPECT_EQ(literal->LiteralKind, tok::TOK_UBYTE);
  EXPECT_EQ(literal->IntValue, 255);
}

TEST_F(ParserTest, SimpleStatements) {
  EXPECT_EQ(Statements("f()\nobj.m(1)\nReturn\nReturn x\nDelete o\nExit\nContinue\n"),
            "(call! f) (call! (. obj m) 1) (return -) (return x) (delete o) (exit) (continue)");
  EXPECT_EQ(Statements("a[1].b = 2; c = 3\n"), "(set (. (index a 1) b) 2) (set c 3)");
  EXPECT_EQ(Statements("Local x:Int = 5, y:Float\n"), "(Local x:Int 5) (Local y:Float)");
  EXPECT_EQ(Statements("Const N:Int = 3\nGlobal g:String\n"), "(Const N:Int 3) (Global g:String)");
  // A bare name is no statement, and a declaration needs a type.
  EXPECT_EQ(ParseText("f\n"), PARSE_SYNTAX_ERROR);
  EXPECT_EQ(ErrorAt(), "1-1:2-3");
  EXPECT_EQ(ParseText("Local x = 5\n"), PARSE_SYNTAX_ERROR);
  EXPECT_EQ(ErrorAt(), "1-1:9-10");
}

TEST_F(ParserTest, Datatypes) {
  EXPECT_EQ(Statements("Local a:Int[], b:Float[,,], c:Foo[]\n"),
            "(Local a:Int[1]) (Local b:Float[3]) (Local c:Foo[1])");
  EXPECT_EQ(Statements("Local p:Int Ptr[] Ptr, q:Foo Ptr, s:string\n"),
            "(Local p:Int Ptr[1] Ptr) (Local q:Foo Ptr) (Local s:string)");
  EXPECT_EQ(Statements("Local u:UInt, v:ULong, w:Bool, z:Void Ptr\n"),
            "(Local u:UInt) (Local v:ULong) (Local w:Bool) (Local z:Void Ptr)");
  EXPECT_EQ(Statements("Local f:Int(a:Int, b:Foo = Null), g:Foo(Void), h:Int(Void)\n"),
            "(Local f:Int(a:Int b:Foo)) (Local g:Foo()) (Local h:Int())");
}

TEST_F(ParserTest, IfForms) {
  EXPECT_EQ(Statements("If a Then f() ElseIf b Then g(); h() ElseIf c Then i() Else j(); k()\n"),
            "(if a [(call! f)] (elseif b [(call! g) (call! h)]) (elseif c [(call! i)])"
            " (else [(call! j) (call! k)]))");
  EXPECT_EQ(Statements("If a Then\n f()\nElseIf b Then\n g()\nElse\n h()\nEndIf\n"),
            "(if a [(call! f)] (elseif b [(call! g)]) (else [(call! h)]))");
  EXPECT_EQ(Statements("If a Then;f();EndIf\n"), "(if a [(call! f)])");
  EXPECT_EQ(Statements("If a Then\nEnd If\n"), "(if a [])");
  // A one-line If ends at a line end, not at a semicolon.
  EXPECT_EQ(ParseText("If a Then f();\n"), PARSE_SYNTAX_ERROR);
  EXPECT_EQ(ErrorAt(), "1-1:15-16");
  // Its branches hold simple statements only.
  EXPECT_EQ(ParseText("If a Then While b\nWend\n"), PARSE_SYNTAX_ERROR);
}

TEST_F(ParserTest, Loops) {
  EXPECT_EQ(Statements("While a\n f()\nWend\n"), "(while a [(call! f)])");
  EXPECT_EQ(Statements("Repeat\n f()\nUntil a\nRepeat\nForever\n"),
            "(repeat [(call! f)] a) (repeat [] -)");
  EXPECT_EQ(ParseText("While a\n f()\nEndWhile\n"), PARSE_SYNTAX_ERROR);
  EXPECT_EQ(ErrorAt(), "3-3:1-9");
}

TEST_F(ParserTest, ForInItsThreeForms) {
  EXPECT_EQ(Statements("For i = 1 To 10\n f(i)\nNext\n"),
            "(for (= i 1) - to 10 step - [(call! f i)])");
  EXPECT_EQ(Statements("For i = 0 Until n Step 2\nNext\n"), "(for (= i 0) - until n step 2 [])");
  EXPECT_EQ(Statements("For Local i:Int = 1 To 10 Step -1\nNext\n"),
            "(for local i:Int 1 to 10 step (- 1) [])");
  EXPECT_EQ(Statements("For Local i:Int = a + 1 Until b\n g()\nNext\n"),
            "(for local i:Int (+ a 1) until b step - [(call! g)])");
  // The loop variable of For Local needs a type.
  EXPECT_EQ(ParseText("For Local i = 1 To 2\nNext\n"), PARSE_SYNTAX_ERROR);
}

TEST_F(ParserTest, ForWhileWithAndWithoutLineBreakAfterDo) {
  EXPECT_EQ(Statements("For i = 0; j = 1 While i < n Do\n i = i + 1\nNext\n"),
            "(forwhile [(set i 0) (set j 1)] (< i n) [(set i (+ i 1))])");
  EXPECT_EQ(Statements("For Local i:Int = 0 While i < n Do i = i + 1\nNext\n"),
            "(forwhile [(Local i:Int 0)] (< i n) [(set i (+ i 1))])");
}

TEST_F(ParserTest, SelectJoinsCasesAroundTheDefaultInOrder) {
  EXPECT_EQ(Statements("Select x\nCase 1\n f()\nDefault\n g()\nCase 2\nCase 3\n h()\nEndSelect\n"),
            "(select x (case 1 [(call! f)]) (case 2 []) (case 3 [(call! h)])"
            " (default [(call! g)]))");
  EXPECT_EQ(Statements("Select x\nCase 1\nCase 2\nEnd Select\n"), "(select x (case 1 []) (case 2 []))");
  EXPECT_EQ(Statements("Select x\nEndSelect\n"), "(select x)");
  EXPECT_EQ(ParseText("Select x\nDefault\nDefault\nEndSelect\n"), PARSE_SYNTAX_ERROR);
  EXPECT_EQ(ErrorAt(), "3-3:1-8");
}

TEST_F(ParserTest, ClassesWithVisibilitySections) {
  TProgramNode* root = Accept(
      "Class A Extends B, C Abstract Final\n"
      "  Field pub1:Int\n"
      "Private\n"
      "  Field priv:Int\n"
      "  Method m()\n  EndMethod\n"
      "Protected; Global prot:Int\n"
      "Public\n"
      "  Const pub2:Int = 1\n"
      "  Method abs:Int(x:Int) Abstract\n"
      "  Function cf:Foo() Final\n  End Function\n"
      "  Method A()\n  EndMethod\n"
      "EndClass\n"
      "Class D\n"
      "  Field again:Int\n"
      "EndClass\n");
  ASSERT_NE(root, nullptr);
  ASSERT_EQ(root->Classes.size(), 2u);
  TClassNode* a = root->Classes[0];
  EXPECT_EQ(a->Identifier, "A");
  ASSERT_EQ(a->ClassParents.size(), 2u);
  EXPECT_EQ(a->ClassParents[0].Name, "B");
  EXPECT_EQ(a->ClassParents[1].Name, "C");
  EXPECT_EQ(a->AbstractFlag, 1);
  EXPECT_EQ(a->IsFinal, 1);
  std::vector<std::string> variables;
  for (TVariableDeclNode* v : a->Variables)
    variables.push_back(v->Identifier + " " + TLexer::TokenToString(v->DeclKind) + " " +
                        TLexer::TokenToString(v->Visibility));
  EXPECT_EQ(variables, (std::vector<std::string>{"pub1 Field Public", "priv Field Private",
                                                 "prot Global Protected", "pub2 Const Public"}));
  ASSERT_EQ(a->Methods.size(), 2u);
  EXPECT_EQ(a->Methods[0]->Identifier, "m");
  EXPECT_EQ(a->Methods[0]->Declaration->Visibility, VISIBILITY_PRIVATE);
  EXPECT_EQ(a->Methods[1]->Identifier, "abs");
  EXPECT_EQ(a->Methods[1]->IsAbstract, 1);
  EXPECT_EQ(a->Methods[1]->ParameterCount, 1);
  ASSERT_EQ(a->Functions.size(), 1u);
  EXPECT_EQ(a->Functions[0]->IsFinal, 1);
  EXPECT_EQ(TypeShape(a->Functions[0]->ReturnDatatype), "Foo");
  ASSERT_NE(a->Constructor, nullptr);
  // The next class starts Public again.
  TClassNode* d = root->Classes[1];
  EXPECT_EQ(d->ClassParents.size(), 0u);
  EXPECT_EQ(d->AbstractFlag, 0);
  ASSERT_EQ(d->Variables.size(), 1u);
  EXPECT_EQ(d->Variables[0]->Visibility, VISIBILITY_PUBLIC);

  EXPECT_EQ(ParseText("Class A, B\nEndClass\n"), PARSE_SYNTAX_ERROR);
  EXPECT_EQ(ErrorAt(), "1-1:8-9");
  // Fields and visibility keywords only inside class bodies.
  EXPECT_EQ(ParseText("Field x:Int\n"), PARSE_SYNTAX_ERROR);
  EXPECT_EQ(ParseText("Private\n"), PARSE_SYNTAX_ERROR);
}

TEST_F(ParserTest, FunctionsAtTopLevel) {
  TProgramNode* root = Accept(
      "Function f:Int(a:Int, b:Float = 1.5)\n  Return a\nEndFunction\n"
      "Function g()\nEnd Function\n"
      "Function h:Int Ptr()\nEndFunction\n"
      "Function k:Foo(Void) Final\nEndFunction\n");
  ASSERT_NE(root, nullptr);
  ASSERT_EQ(root->Functions.size(), 4u);
  TFunctionNode* f = root->Functions[0];
  EXPECT_EQ(f->Identifier, "f");
  EXPECT_EQ(f->IsMethod, 0);
  EXPECT_EQ(TypeShape(f->ReturnDatatype), "Int");
  ASSERT_EQ(f->Parameters.size(), 2u);
  EXPECT_EQ(Shape(f->Parameters[1]), "(Local b:Float 1.500000f)");
  EXPECT_EQ(Block(f->Statements), "[(return a)]");
  EXPECT_EQ(TypeShape(root->Functions[1]->ReturnDatatype), "Void");
  EXPECT_EQ(root->Functions[1]->ParameterCount, 0);
  EXPECT_EQ(TypeShape(root->Functions[2]->ReturnDatatype), "Int Ptr");
  EXPECT_EQ(TypeShape(root->Functions[3]->ReturnDatatype), "Foo");
  EXPECT_EQ(root->Functions[3]->IsFinal, 1);
  // The parentheses are never optional.
  EXPECT_EQ(ParseText("Function f:Int\nEndFunction\n"), PARSE_SYNTAX_ERROR);
  EXPECT_EQ(ErrorAt(), "1-1:15-16");
}

TEST_F(ParserTest, ExternBlocksAreSortedAndMarked) {
  TProgramNode* root = Accept(
      "Extern\n"
      "  Global eg:Int, eh:Int\n"
      "  Const EC:Int = 2\n"
      "  Class EClass Extends Base\n"
      "    Field f:Int\n"
      "    Method m:Int() Abstract Final Abstract\n"
      "    Function cf()\n"
      "  EndClass\n"
      "  Function ef:Int(x:Int)\n"
      "EndExtern\n"
      "x = 1\n");
  ASSERT_NE(root, nullptr);
  ASSERT_EQ(root->Statements.size(), 4u);
  EXPECT_EQ(Shapes(root->Statements), "(Global eg:Int) (Global eh:Int) (Const EC:Int 2) (set x 1)");
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(root->Statements[i]->IsExtern, 1) << i;
  EXPECT_EQ(root->Statements[3]->IsExtern, 0);
  ASSERT_EQ(root->Classes.size(), 1u);
  TClassNode* c = root->Classes[0];
  EXPECT_EQ(c->IsExtern, 1);
  ASSERT_EQ(c->Methods.size(), 1u);
  EXPECT_EQ(c->Methods[0]->IsExtern, 1);
  EXPECT_EQ(c->Methods[0]->IsAbstract, 1);
  EXPECT_EQ(c->Methods[0]->IsFinal, 1);
  ASSERT_EQ(c->Functions.size(), 1u);
  ASSERT_EQ(root->Functions.size(), 1u);
  EXPECT_EQ(root->Functions[0]->Identifier, "ef");
  EXPECT_EQ(root->Functions[0]->IsExtern, 1);
  // Extern blocks declare, they hold no statements.
  EXPECT_EQ(ParseText("Extern\n  f()\nEndExtern\n"), PARSE_SYNTAX_ERROR);
}

TEST_F(ParserTest, ImportsAreRecorded) {
  TProgramNode* root = Accept(
      "Import \"other.zn\"\nImport Zintrel.Core.*\nImport a.b\nImport single; Import \"lib.h\"\n");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->FileImports, (std::vector<std::string>{"other.zn", "lib.h"}));
  EXPECT_EQ(root->ModuleImports, (std::vector<std::string>{"Zintrel.Core.*", "a.b", "single"}));
  EXPECT_EQ(ParseText("Import a.*.b\n"), PARSE_SYNTAX_ERROR);
}

TEST_F(ParserTest, EmptyFilesAndCommentsOnly) {
  for (std::string_view text : {"", "\n\n\n", "// nothing here\n/* nor\n here */\n"}) {
    TProgramNode* root = Accept(text);
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(root->Statements.empty() && root->Functions.empty() && root->Classes.empty() &&
                root->FileImports.empty() && root->ModuleImports.empty());
  }
}

TEST_F(ParserTest, NodesCarryTheSpanOfTheirRule) {
  TProgramNode* root = Accept(
      "\n"
      "x = 1 + 22\n"
      "While a\n"
      "  f(b)\n"
      "Wend\n");
  ASSERT_NE(root, nullptr);
  ASSERT_EQ(root->Statements.size(), 2u);
  auto* assignment = dynamic_cast<TAssignmentNode*>(root->Statements[0]);
  ASSERT_NE(assignment, nullptr);
  EXPECT_EQ(Span(assignment), "2-2:1-11");
  EXPECT_EQ(Span(assignment->LeftExp), "2-2:1-2");
  auto* sum = dynamic_cast<TBinaryOpExpression*>(assignment->RightExp);
  ASSERT_NE(sum, nullptr);
  EXPECT_EQ(Span(sum), "2-2:5-11");
  EXPECT_EQ(Span(sum->RightExp), "2-2:9-11");
  auto* loop = dynamic_cast<TWhileNode*>(root->Statements[1]);
  ASSERT_NE(loop, nullptr);
  EXPECT_EQ(Span(loop), "3-5:1-5");
  ASSERT_EQ(loop->Statements->Statements.size(), 1u);
  auto* call = dynamic_cast<TFunctionCall*>(loop->Statements->Statements[0]);
  ASSERT_NE(call, nullptr);
  // The call becomes a statement in the rule that reduces it; the statement node carries that
  // rule's span, the call's own span is the same text.
  EXPECT_EQ(Span(call), "4-4:3-7");
  // The root comes from the empty first rule: an empty span at line 1, column 1, every parse.
  EXPECT_EQ(Span(root), "1-1:1-1");
}

TEST_F(ParserTest, LocationRecordRestartsAtEachParse) {
  EXPECT_EQ(ParseText("x = 1\ny = 2\nf(\n"), PARSE_SYNTAX_ERROR);
  EXPECT_EQ(ErrorAt(), "3-3:3-4");
  // The root is made before the first token is read, from the record as every parse starts it.
  TProgramNode* root = Accept("");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(Span(root), "1-1:1-1");
}

TEST_F(ParserTest, SyntaxErrorsStopAtTheOffendingToken) {
  struct Case {
    const char* Text;
    const char* At;
  };
  const Case cases[] = {
      // Reserved words, and keywords out of place.
      {"Local assert:Int\n", "1-1:7-13"},
      {"x = Try\n", "1-1:5-8"},
      {"Var x:Int\n", "1-1:1-4"},
      {"x = 1\nEndWhile\n", "2-2:1-9"},
      {"x = SizeOf y\n", "1-1:5-11"},
      {"If a Then\n  x = 1\n  Case 2\nEndIf\n", "3-3:3-7"},
      // ".." followed by something else than a line end.
      {"x = 1 .. \n", "1-1:7-9"},
      // The input ends too early: the record holds the file's final line end (the lexer's
      // own, after the last line), which is where it stopped.
      {"If a Then\n  f()\n", "3-3:1-2"},
      {"Function f()\n", "2-2:1-2"},
      // A continuation on the last line: the report stays on the continuation's line when
      // no line follows it, else it is the line end of the following line.
      {"x = 1 + ..", "1-1:9-10"},
      {"x = 1 + ..\n", "2-2:1-2"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseText(c.Text), PARSE_SYNTAX_ERROR) << c.Text;
    EXPECT_EQ(ErrorAt(), c.At) << c.Text;
  }
}

std::string Nested(int depth) {
  return "x = " + std::string(static_cast<size_t>(depth), '(') + "1" +
         std::string(static_cast<size_t>(depth), ')') + "\n";
}

TEST_F(ParserTest, DeepNestingGrowsTheStacksUpToTheirLimit) {
  // Far past the initial 200 entries, still within the limit of 10000.
  TProgramNode* root = Accept(Nested(9000));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->Statements.size(), 1u);
  // Needing more ends the parse with result 2, located at the token that needed the room:
  // four entries are taken before the first "(" (the state, the program, the target and "=").
  EXPECT_EQ(ParseText(Nested(20000)), PARSE_STACK_EXHAUSTED);
  EXPECT_EQ(ErrorAt(), "1-1:10000-10001");
  // The parser is usable again afterwards.
  EXPECT_EQ(Statements("y = 1\n"), "(set y 1)");
}

// A program of the shape real files have: classes with members, functions with loops and
// branches, globals, one-line Ifs and continuations.
std::string GenerateProgram(int lines) {
  std::string out = "Import Zintrel.Core.*\nImport \"helpers.zn\"\nGlobal counter:Int = 0\n";
  int written = 3;
  for (int n = 0; written < lines; ++n) {
    std::string id = std::to_string(n);
    out += "Class TShape" + id + " Extends TBase\n"
           "\tField x:Float, y:Float = 1.5\n"
           "Private\n"
           "\tField name:String = \"shape\"\n"
           "\tMethod Area:Double(scale:Double)\n"
           "\t\tReturn x * y * scale + Double(counter Mod 7)\n"
           "\tEndMethod\n"
           "EndClass\n"
           "Function Compute" + id + ":Int(a:Int, b:Int[])\n"
           "\tLocal total:Int = 0, i:Int\n"
           "\tFor Local k:Int = 0 Until Len(b) Step 1\n"
           "\t\tIf Not b[k] > a And k = 3 Then total = total + b[k] Else total = total - 1\n"
           "\tNext\n"
           "\tWhile total > 100 Or a <> 0\n"
           "\t\ttotal = total / 2 - (a Shl 1) ..\n"
           "\t\t\t+ 1\n"
           "\tWend\n"
           "\tSelect total\n"
           "\tCase 1\n"
           "\t\tPrint(\"one\")\n"
           "\tDefault\n"
           "\t\tcounter = counter + New TShape" + id + ".Area(2.0d)\n"
           "\tEndSelect\n"
           "\tReturn total\n"
           "EndFunction\n";
    written += 24;
  }
  return out;
}

TEST_F(ParserTest, LargeProgramParses) {
  std::string source = GenerateProgram(100000);
  TProgramNode* root = Accept(source);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->Classes.size(), root->Functions.size());
  EXPECT_GT(root->Functions.size(), 4000u);
  EXPECT_EQ(root->ModuleImports.size(), 1u);
}

}  // namespace
}  // namespace zintrel
