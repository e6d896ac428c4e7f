// The C++ text of statements: blocks, control statements, loops, assignment, Return, Delete.
#include <gtest/gtest.h>

#include "../CheckedProgram.h"
#include "cpp/CPPNodes.h"

namespace zintrel {
namespace {

using testing_support::CheckedProgram;

// The text of the body of function Body in the checked program, generated at the given indent.
std::string BodyOf(const CheckedProgram& program, const std::string& indent = "") {
  for (TFunctionNode* function : program.Root()->Functions)
    if (function->Identifier == "Body") return function->Statements->GenerateCode(indent);
  return "<no function Body>";
}

struct TStatementCase {
  const char* Declarations;  // program-level declarations before the function
  const char* Body;          // the body of Function Body()
  const char* Indent;
  const char* Expected;
};

// The Select's local is named after its node: the number is replaced by @ for comparison.
std::string WithoutSelectNumbers(std::string text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (out.size() >= 8 && out.compare(out.size() - 8, 8, "__select") == 0) {
      out += '@';
      while (i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1]))) ++i;
    }
  }
  return out;
}

class StatementCode : public ::testing::TestWithParam<TStatementCase> {};

TEST_P(StatementCode, GivesTheExpectedText) {
  const TStatementCase& c = GetParam();
  CheckedProgram program(std::string(c.Declarations) + "\nFunction Body()\n" + c.Body +
                         "\nEndFunction\n");
  EXPECT_EQ(WithoutSelectNumbers(BodyOf(program, c.Indent)), c.Expected) << c.Body;
}

const TStatementCase StatementCases[] = {
    // Blocks: every statement ends in ";\n", a compound one in "};".
    {"", "Local x:Int\nLocal n:Int = 3\nWhile x < n\nx = 1\nWend", "\t",
     "\tint32_t x = 0;\n\tint32_t n = 3;\n\twhile ((x < n)) {\n\t\tx = 1;\n\t};\n"},
    {"", "Local a:Int\nIf a = 1 Then\na = 2\nElseIf a = 2 Then\na = 3\nElseIf a = 3 Then\na = 4\nElse\na = 5\nEndIf", "",
     "int32_t a = 0;\nif ((a == 1)) {\n\ta = 2;\n} else if ((a == 2)) {\n\ta = 3;\n"
     "} else if ((a == 3)) {\n\ta = 4;\n} else {\n\ta = 5;\n};\n"},
    {"", "Local a:Int\nRepeat\na = a + 1\nUntil a > 3", "",
     "int32_t a = 0;\ndo {\n\ta = (a + 1);\n} while (!((a > 3)));;\n"},
    {"", "Repeat\nExit\nForever", "", "do {\n\tbreak;\n} while(1);;\n"},
    // Constants of a block come first, whatever their position.
    {"", "Local a:Int = c\nConst c:Int = 3", "\t", "\t\tconst int32_t c = 3;\n\tint32_t a = c;\n"},
    // The four forms of For, the step folded into the condition and the increment.
    {"Global i:Int\nGlobal n:Int\nGlobal x:Int", "For i = 1 To 10\nx = x + i\nNext", "",
     "for (i = 1; i <= 10; i += 1) {\n\tx = (x + i);\n};\n"},
    {"Global i:Int\nGlobal n:Int", "For i = 0 Until n\nNext", "", "for (i = 0; i < n; i += 1) {\n};\n"},
    // A Bool cast is 1 or 0 where its value counts, as a bound; a condition converts by itself.
    {"Global i:Int\nGlobal n:Int", "For i = 0 To Bool(n)\nIf Bool(n) Then Exit\nNext", "",
     "for (i = 0; i <= ((bool)((n))); i += 1) {\n\tif ((n)) {\n\t\tbreak;\n\t};\n};\n"},
    {"Global i:Int", "For i = 10 To 1 Step -1\nNext", "", "for (i = 10; i >= 1; i -= 1) {\n};\n"},
    {"Global i:Int", "For i = 0 Until 10 Step 2\nNext", "", "for (i = 0; i + 2 <= 10; i += 2) {\n};\n"},
    {"", "For Local i:Int = 1 To 3\nNext", "", "for (int32_t i = 1; i <= 3; i += 1) {\n};\n"},
    {"Global f:Float", "For f = 0 To 2 Step 0.5\nNext", "",
     "for (f = 0; f <= 2; f += 0.500000000) {\n};\n"},
    {"Global d:Double", "For d = 1 To 0 Step -0.25d\nNext", "",
     "for (d = 1; d >= 0; d -= 0.25000000000000000) {\n};\n"},
    {"Global i:Int", "For i = 0 Until 10 Step (2 * 3)\nNext", "",
     "for (i = 0; i + 6 <= 10; i += 6) {\n};\n"},
    // A loop over an unsigned variable up to a signed bound compares values.
    {"Global u:UInt\nGlobal n:Int", "For u = 0 To n\nNext", "",
     "for (u = 0; ((int64_t)(u)) <= ((int64_t)(n)); u += 1) {\n};\n"},
    // For-While keeps its initial declarations inside an extra block.
    {"", "For Local i:Int = 0 While i < 3 Do\ni = i + 1\nContinue\nNext", "\t",
     "\t{\n\t\tint32_t i = 0;\n\t\tfor (; (i < 3);) {\n\t\t\ti = (i + 1);\n\t\t\tcontinue;\n\t\t}\n\t};\n"},
    // A lowered Select: its local, then the If chain; Exit inside it leaves the loop.
    {"Global x:Int", "While 1\nSelect x\nCase 1\nExit\nCase 2\nx = 3\nDefault\nx = 1\nEndSelect\nWend", "",
     "while (1) {\n\tint32_t __select@ = x;\n\tif ((__select@ == 1)) {\n\t\tbreak;\n"
     "\t} else if ((__select@ == 2)) {\n\t\tx = 3;\n\t} else {\n\t\tx = 1;\n\t};\n;\n};\n"},
    // A Select without cases still evaluates its selector, which is then marked used.
    {"Global x:Int", "Select x\nDefault\nx = 1\nEndSelect", "",
     "int32_t __select@ = x;\n(void)__select@;\nif (1) {\n\tx = 1;\n};\n;\n"},
    // Simple statements; a call statement carries the block's indentation.
    {"Class C\nEndClass\nFunction Twice:Int(v:Int)\nReturn v * 2\nEndFunction",
     "Local c:C = New C\nDelete c\nTwice(2)\nReturn", "\t\t",
     "\t\tC* c = (new C);\n\t\tdelete c;\n\t\tTwice(2);\n\t\treturn;\n"},
};

INSTANTIATE_TEST_SUITE_P(Statements, StatementCode, ::testing::ValuesIn(StatementCases));

}  // namespace
}  // namespace zintrel
