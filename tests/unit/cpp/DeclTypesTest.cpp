// The C++ spelling of every kind of type and its default value.
#include <gtest/gtest.h>

#include <unistd.h>

#include "../CheckedProgram.h"
#include "cpp/CPPNodes.h"
#include "model/NodeFactory.h"

namespace zintrel {
namespace {

using testing_support::CheckedProgram;

struct TTypeCase {
  const char* Type;       // as written in a declaration
  const char* Name;       // the declarator name passed to GenerateCode
  const char* Text;       // the C++ type
  const char* AutoValue;  // the C++ default value
};

const TTypeCase TypeCases[] = {
    {"Bool", "", "bool", "0"},
    {"Byte", "", "char", "0"},
    {"UByte", "", "uint8_t", "0"},
    {"Short", "", "int16_t", "0"},
    {"UShort", "", "uint16_t", "0"},
    {"Int", "", "int32_t", "0"},
    {"UInt", "", "uint32_t", "0"},
    {"Long", "", "int64_t", "0"},
    {"ULong", "", "uint64_t", "0"},
    {"Float", "", "float", "0.0f"},
    {"Double", "", "double", "0.0"},
    {"String", "", "String*", "new String(\"\")"},
    {"Point", "", "Point*", "0"},
    {"Byte Ptr", "", "char*", "0"},
    {"Int Ptr Ptr", "", "int32_t**", "0"},
    {"Void Ptr", "", "void*", "0"},
    {"Int[,]", "", "Array<int32_t, 2>*", "new Array<int32_t, 2>(0)"},
    {"Point[]", "", "Array<Point*, 1>*", "new Array<Point*, 1>(0)"},
    {"String[,,]", "", "Array<String*, 3>*", "new Array<String*, 3>(0)"},
    {"Int(a:Double, b:Int)", "f", "int32_t (*f) (double, int32_t)", "0"},
    {"Int(a:Double, b:Int)", "", "int32_t (*) (double, int32_t)", "0"},
    {"Void(a:Int)", "g", "void (*g) (int32_t)", "0"},
    {"Int(a:Int)[]", "", "Array<int32_t (*) (int32_t), 1>*", "new Array<int32_t (*) (int32_t), 1>(0)"},
    // A function returning a function type, and a pointer to a function, stay one declarator.
    {"Int(a:Int)(b:Bool)", "h", "int32_t (*(*h) (bool)) (int32_t)", "0"},
    {"Int(a:Int) Ptr", "p", "int32_t (**p) (int32_t)", "0"},
};

TEST(DeclTypes, TextAndDefaultValueOfEveryKind) {
  std::string source = "Class Point\nEndClass\n";
  for (size_t i = 0; i < std::size(TypeCases); ++i)
    source += "Global v" + std::to_string(i) + ":" + TypeCases[i].Type + "\n";
  CheckedProgram program(source);
  ASSERT_EQ(program.output, "Compiling " + program.path + "\n");
  const std::vector<TStatementNode*>& statements = program.Root()->Statements;
  const size_t first = statements.size() - std::size(TypeCases);
  for (size_t i = 0; i < std::size(TypeCases); ++i) {
    auto* type = static_cast<TCPPDatatype*>(
        dynamic_cast<TVariableDeclNode*>(statements[first + i])->Datatype);
    EXPECT_EQ(type->GenerateCode(TypeCases[i].Name), TypeCases[i].Text) << TypeCases[i].Type;
    EXPECT_EQ(type->GenerateAutoValue("\t"), TypeCases[i].AutoValue) << TypeCases[i].Type;
  }
}

// The checks keep Null and Void types from the generators; one that slips through ends the
// compilation with a semantic error at the type, never a crash.
TEST(DeclTypes, NullAndVoidHaveNoCode) {
  CheckedProgram program("");
  TDatatype* null = ActiveTarget->CreateDatatype()->Create(TYPE_ANY, nullptr, 0);
  TDatatype* voidType = ActiveTarget->CreateDatatype()->Create(TYPE_VOID, nullptr, 0);
  EXPECT_EQ(voidType->GenerateCode(""), "void");
  const char* report = "Semantic error: Wtf man it doesn't work that way";
  EXPECT_EXIT((dup2(2, 1), null->GenerateCode("")), testing::ExitedWithCode(255), report);
  EXPECT_EXIT((dup2(2, 1), null->GenerateAutoValue("")), testing::ExitedWithCode(255), report);
  EXPECT_EXIT((dup2(2, 1), voidType->GenerateAutoValue("")), testing::ExitedWithCode(255), report);
}

}  // namespace
}  // namespace zintrel
