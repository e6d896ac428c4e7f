// The C++ text of expressions: literals, operators, casts, calls, member access and arrays.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "../CheckedProgram.h"
#include "cpp/CPPNodes.h"
#include "cpp/Text.h"
#include "frontend/Tokens.h"
#include "model/NodeFactory.h"

namespace zintrel {
namespace {

using testing_support::CheckedProgram;

// Names every case may use.
const char* const Prelude =
    "Global a:Int, b:Int, u:UInt, l:Long, ul:ULong, ub:UByte, sb:Byte, sh:Short\n"
    "Global f:Float, d:Double, t:Bool, s:String, p:Byte Ptr, q:Byte Ptr\n"
    "Global grid:Int[,], list:Int[]\n"
    "Class Base\n"
    "  Global count:Int\n"
    "  Field x:Int\n"
    "  Method Base(v:Int)\n"
    "  EndMethod\n"
    "EndClass\n"
    "Class Derived Extends Base\n"
    "  Method Derived(v:Int)\n"
    "    Super(v)\n"
    "    Self.x = v\n"
    "    Return\n"
    "  EndMethod\n"
    "EndClass\n"
    "Class Other\n"
    "EndClass\n"
    "Global ob:Base, od:Derived, oo:Other\n"
    "Function Twice:Int(v:Int)\n"
    "  Return v * 2\n"
    "EndFunction\n";

struct TExpressionCase {
  const char* Type;        // declared type of the local the expression initialises
  const char* Expression;  // its source
  const char* Expected;    // the C++ text of the local's value (a cast where the types differ)
};

// The value of the local r of the type, initialised with the expression, in a checked program.
TExpressionNode* CheckedValue(const CheckedProgram& program) {
  for (TFunctionNode* function : program.Root()->Functions) {
    if (function->Identifier != "Body") continue;
    auto* local = dynamic_cast<TVariableDeclNode*>(function->Statements->Statements.at(0));
    return local != nullptr ? local->Value : nullptr;
  }
  return nullptr;
}

std::string WithLocal(const std::string& type, const std::string& expression) {
  return std::string(Prelude) + "Function Body()\n  Local r:" + type + " = " + expression +
         "\nEndFunction\n";
}

class ExpressionCode : public ::testing::TestWithParam<TExpressionCase> {};

TEST_P(ExpressionCode, GivesTheExpectedText) {
  const TExpressionCase& c = GetParam();
  CheckedProgram program(WithLocal(c.Type, c.Expression));
  TExpressionNode* value = CheckedValue(program);
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->GenerateCode("\t"), c.Expected) << c.Expression;
}

const TExpressionCase ExpressionCases[] = {
    // Literals.
    {"Int", "42", "42"},
    {"Long", "10L", "10LL"},
    {"UByte", "255UB", "((uint8_t)255)"},
    {"Byte", "100b", "100"},
    {"Byte", "200b", "((char)(200))"},
    {"Short", "40000s", "((int16_t)(40000))"},
    {"ULong", "18446744073709551615UL", "-1ULL"},
    {"Float", "1.5", "1.50000000f"},
    {"Double", "1.5d", "1.5000000000000000"},
    {"Bool", "True", "1"},
    {"Base", "Null", "0"},
    {"String", "\"a\\b\"", "new String(\"a\\\\b\")"},
    // Operators and their parentheses.
    {"Int", "a + 1", "(a + 1)"},
    {"Int", "(a + 1) * b", "(((a + 1)) * b)"},
    {"Int", "+a", "a"},
    {"Int", "-a", "-(a)"},
    {"Int", "~a", "~(a)"},
    {"Int", "a ~ 3", "(a ^ 3)"},
    {"Int", "a Mod 3", "(a % 3)"},
    {"Bool", "t And a < b", "(t && (a < b))"},
    {"String", "s + 1", "(s)->Append(1)"},
    {"String", "1 + s", "(s)->Prepend(1)"},
    {"Bool", "ob <> Null", "(ob != 0)"},
    {"Bool", "(ob = od)", "((ob == od))"},
    {"Bool", "ob = oo", "(((Object*)(ob)) == ((Object*)(oo)))"},
    // Power and Mod on reals, by the result's type.
    {"Float", "f ^ 2", "powf (f, 2)"},
    {"Double", "d ^ 2", "pow (d, 2)"},
    {"Float", "a ^ b", "powf (a, b)"},
    {"Float", "f Mod 2.5", "fmodf (f, 2.50000000f)"},
    {"Double", "d Mod 2", "fmod (d, 2)"},
    // Where C++ promotes otherwise than the checker, the result keeps the checker's type.
    {"Int", "a Shr 1", "((int32_t)((((uint32_t)(a)) >> 1)))"},
    {"ULong", "ul Shr 1", "(ul >> 1)"},
    {"Long", "a Shl 40L", "(((int64_t)(a)) << 40LL)"},
    {"UByte", "~ub", "((uint8_t)(~(ub)))"},
    {"Byte", "-sb", "((char)(-(sb)))"},
    {"Bool", "~t", "!(t)"},
    {"Int", "Not a", "((int32_t)(!(a)))"},
    {"Bool", "Not t", "!(t)"},
    {"Int", "a + u", "((int32_t)((a + u)))"},
    {"Int", "u * u", "((int32_t)((u * u)))"},
    {"Long", "l + ul", "((int64_t)((l + ul)))"},
    {"ULong", "ul + l", "(ul + l)"},
    {"Bool", "a < u", "(((int64_t)(a)) < ((int64_t)(u)))"},
    {"Bool", "u < 3", "(u < 3)"},
    {"Int", "a / u", "((int32_t)((((int64_t)(a)) / ((int64_t)(u)))))"},
    {"Byte Ptr", "p + 1", "(p + 1)"},
    {"Byte Ptr", "p - q", "((char*)((p - q)))"},
    {"Bool", "p = q", "(p == q)"},
    // Casts, by the first rule that applies.
    {"Int", "Int(f)", "((int32_t)(f))"},
    {"Int", "Int(a)", "(a)"},
    {"Float", "a", "((float)(a))"},
    {"String", "a", "((new String(\"\"))->Append(a))"},
    {"Bool", "a", "(a)"},
    {"Bool", "s", "__zn::HasLength(s)"},
    {"Bool", "list", "__zn::HasLength(list)"},
    {"Bool", "ob", "((ob) != NULL)"},
    {"Int", "Bool(a) + 1", "(((bool)((a))) + 1)"},
    {"Base", "od", "(od)"},
    {"Derived", "Derived(ob)", "(__zn::DownCast<Derived*>(ob))"},
    {"Byte Ptr", "s", "((s)->Data)"},
    {"UByte Ptr", "s", "((uint8_t*)((s)->Data))"},
    {"Int", "Int(s)", "((int32_t)((s)->ToInt()))"},
    {"UInt", "UInt(s)", "((uint32_t)((s)->ToLong()))"},
    {"Double", "Double(s)", "((double)((s)->ToDouble()))"},
    {"Long", "Long(p)", "((int64_t)(((intptr_t)(p))))"},
    // Calls, member access and creation.
    {"Int", "Twice(3)", "Twice(3)"},
    {"Derived", "New Derived(1)", "((new Derived))->__CreateDerived(1)"},
    {"Other", "New Other", "(new Other)"},
    {"Int", "ob.x", "(ob)->x"},
    {"Int", "Base.count", "Base::count"},
    // Arrays and addresses.
    {"Int", "grid[a, 2]", "(*grid->At(a, 2))"},
    {"Int[,]", "New Int[10, 20]", "(new Array<int32_t, 2>(-1, 10, 20))"},
    {"Int[]", "[1, 2, 3]", "new Array<int32_t, 1>(3, 1, 2, 3)"},
    {"Base[]", "[ob, Null]", "new Array<Base*, 1>(2, ob, ((Base*)(0)))"},
    {"Byte", "p[2]", "(p[2])"},
    {"Int Ptr", "Varptr a", "(&a)"},
};

INSTANTIATE_TEST_SUITE_P(Expressions, ExpressionCode, ::testing::ValuesIn(ExpressionCases));

// Super, Self and a bare Return inside a constructor.
TEST(ExpressionCodeInClasses, SuperNamesTheParentSelfIsThisAndReturnGivesIt) {
  CheckedProgram program(Prelude);
  TClassNode* derived = nullptr;
  for (TClassNode* cls : program.Root()->Classes)
    if (cls->Identifier == "Derived") derived = cls;
  ASSERT_NE(derived, nullptr);
  ASSERT_NE(derived->Constructor, nullptr);
  EXPECT_EQ(derived->Constructor->Statements->GenerateCode("\t\t"),
            "\t\tBase::__CreateBase(v);\n\t\t(this)->x = v;\n\t\treturn this;\n");
}

// An array literal of Nulls only passes the checks with the Null type as its element type; its
// text ends the compilation with the report at the type instead of crashing.
TEST(ExpressionCodeErrors, ArrayOfNullsHasNoElementType) {
  CheckedProgram program(WithLocal("Base[]", "[Null]"));
  TExpressionNode* value = CheckedValue(program);
  ASSERT_NE(value, nullptr);
  EXPECT_EXIT((dup2(2, 1), value->GenerateCode("")), testing::ExitedWithCode(255),
              "Semantic error: Wtf man it doesn't work that way");
}

TEST(ExpressionCodeErrors, OperatorsByCode) {
  CheckedProgram program("");
  auto* node = static_cast<TCPPBinaryOpExpression*>(ActiveTarget->CreateBinaryOpExpression());
  const std::pair<int32_t, const char*> operators[] = {
      {'+', "+"},         {tok::TOK_LE, "<="},     {tok::KEY_MOD, "%"},  {tok::KEY_AND, "&&"},
      {tok::KEY_OR, "||"}, {'~', "^"},             {tok::KEY_SHL, "<<"}, {tok::KEY_SHR, ">>"},
      {'=', "=="},        {tok::TOK_NE, "!="},     {tok::KEY_NOT, ""}};
  for (const auto& [code, text] : operators) {
    node->Operator = code;
    EXPECT_EQ(node->OperatorToCode(), text) << code;
  }
  node->Operator = tok::KEY_SAR;
  EXPECT_EXIT((dup2(2, 1), node->OperatorToCode()), testing::ExitedWithCode(255),
              "Semantic error: Not yet implemented");
}

TEST(ExpressionText, StringLiteralsAndNumbers) {
  EXPECT_EQ(EscapedText("a\\b\nc"), "a\\\\b\\nc");
  EXPECT_EQ(EscapedText("what?" "?!"), "what?\\?!");
  EXPECT_EQ(EscapedText(std::string("\x01" "2\r", 3)), "\\0012\\015");
  EXPECT_EQ(FloatText(1.5f), "1.50000000f");
  EXPECT_EQ(DoubleText(0.1), "0.10000000000000001");
  EXPECT_EQ(LongText(INT64_MIN), "(-9223372036854775807LL - 1)");
  EXPECT_EQ(ULongText(-1), "-1ULL");
  EXPECT_EQ(DoubleText(1.0 / 0.0), "__builtin_huge_val()");
}

// Reals are written as printf's %#.9g and %#.17g would write them: every switch between the
// fixed and the scientific form, zeros, halfway cases, denormals and random bit patterns.
TEST(ExpressionText, RealsMatchPrintfAlternateGeneral) {
  std::vector<double> values = {0.0,    -0.0,   1.0,    0.5,     1e-4,    9.99999999999999999e-5,
                                1e-5,   1e16,   1e17,   9.999999999999999e16, 123456789.0,
                                0.1,    2.5e-7, 5e-324, 1.7976931348623157e308, 12345678901234567.0};
  uint64_t bits = 0x9E3779B97F4A7C15u;
  for (int i = 0; i < 20000; ++i) {
    bits ^= bits << 13;
    bits ^= bits >> 7;
    bits ^= bits << 17;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    if (std::isfinite(value)) values.push_back(value);
    values.push_back(static_cast<double>(static_cast<int64_t>(bits >> 20)) / 1024.0);
  }
  char expected[400];
  for (double value : values) {
    std::snprintf(expected, sizeof expected, "%#.17g", value);
    ASSERT_EQ(DoubleText(value), expected) << value;
    const float narrow = static_cast<float>(value);
    if (!std::isfinite(narrow)) continue;
    std::snprintf(expected, sizeof expected, "%#.9gf", static_cast<double>(narrow));
    ASSERT_EQ(FloatText(narrow), expected) << value;
  }
}

}  // namespace
}  // namespace zintrel
