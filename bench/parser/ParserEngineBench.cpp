// Lex + parse throughput of the front end alone: the same generated program as parser_bench,
// with the grammar's actions calling stand-ins for the bridge that only hand out handles and
// release texts. The difference to parser_bench is the cost of building the tree.
// Usage: parser_engine_bench [lines [runs]] (default 100000 lines, 5 runs).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "GenerateProgram.h"
#include "frontend/Bridge.h"
#include "model/AllNodes.h"
#include "frontend/Lexer.h"
#include "frontend/Parser.h"

namespace zintrel {
namespace {

int32_t NextHandle = 0;

int32_t Handle() { return NextHandle++; }

}  // namespace

// Stand-ins for every entry the grammar's actions call.
int32_t TProgramNode::Emit() { return Handle(); }
int32_t TProgramNode::EmitProgramFileImport(int32_t root, TName) { return root; }
int32_t TProgramNode::EmitProgramModuleImport(int32_t root, std::string* text) {
  delete text;
  return root;
}
int32_t TProgramNode::EmitProgramGlobal(int32_t root, int32_t) { return root; }
int32_t TProgramNode::EmitProgramStatement(int32_t root, int32_t) { return root; }
int32_t TProgramNode::EmitProgramFunction(int32_t root, int32_t) { return root; }
int32_t TProgramNode::EmitProgramClass(int32_t root, int32_t) { return root; }
int32_t TProgramNode::EmitProgramExtern(int32_t root, int32_t) { return root; }
// The stand-ins make no lists, so none is ever taken.
void TNodeTable::ReleaseTakenNow() {}
int32_t TListEmitter::EmitEmptyList() { return Handle(); }
int32_t TListEmitter::EmitSingleList(int32_t) { return Handle(); }
int32_t TListEmitter::AppendToList(int32_t list, int32_t) { return list; }
int32_t TListEmitter::PrependToList(int32_t list, int32_t) { return list; }
int32_t TListEmitter::AppendStringToList(int32_t list, TName) { return list; }
std::string* TStringEmitter::AppendIdentifier(std::string* first, TName second) {
  *first += second.str();
  return first;
}
std::string* TStringEmitter::AppendConstChar(std::string* text, const char* suffix) {
  *text += suffix;
  return text;
}
int32_t TClassNode::SetVisibility(int32_t visibility) { return visibility; }
int32_t TClassNode::Emit(TName, int32_t, int32_t, int32_t) { return Handle(); }
int32_t TFunctionNode::Emit(int32_t, int32_t, int32_t, int32_t) { return Handle(); }
int32_t TVariableDeclNode::Emit(int32_t, int32_t) { return Handle(); }
int32_t TVariableDeclNode::ScopeVarDecl(int32_t, int32_t) { return 0; }
int32_t TDatatype::Emit(int32_t, int32_t, int32_t) { return Handle(); }
int32_t TDatatype::Emit(int32_t, TName, int32_t) { return Handle(); }
int32_t TLiteralNode::Emit(int32_t, int64_t) { return Handle(); }
int32_t TLiteralNode::Emit(int32_t, TName) { return Handle(); }
int32_t TVariableNode::Emit(TName, int32_t) { return Handle(); }
int32_t TGroupingExpression::Emit(int32_t) { return Handle(); }
int32_t TBinaryOpExpression::Emit(int32_t, int32_t, int32_t) { return Handle(); }
int32_t TUnaryOpExpression::Emit(int32_t, int32_t) { return Handle(); }
int32_t TTypeCastExpression::Emit(int32_t, int32_t) { return Handle(); }
int32_t TFunctionCall::Emit(int32_t, int32_t, int32_t) { return Handle(); }
int32_t TMemberAccessExpression::Emit(int32_t, TName) { return Handle(); }
int32_t TNewExpression::Emit(TName, int32_t) { return Handle(); }
int32_t TIndexExpression::Emit(int32_t, int32_t) { return Handle(); }
int32_t TAutoArrayExpression::Emit(int32_t) { return Handle(); }
int32_t TNewArrayExpression::Emit(int32_t, int32_t) { return Handle(); }
int32_t TAddressExpression::Emit(int32_t) { return Handle(); }
int32_t TAssignmentNode::Emit(int32_t) { return Handle(); }
int32_t TReturnNode::Emit(int32_t) { return Handle(); }
int32_t TDeleteNode::Emit(int32_t) { return Handle(); }
int32_t TIfNode::Emit(int32_t, int32_t, int32_t, int32_t) { return Handle(); }
int32_t TElseIfNode::Emit(int32_t, int32_t) { return Handle(); }
int32_t TElseNode::Emit(int32_t) { return Handle(); }
int32_t TWhileNode::Emit(int32_t, int32_t) { return Handle(); }
int32_t TRepeatNode::Emit(int32_t, int32_t) { return Handle(); }
int32_t TCaseNode::Emit(int32_t, int32_t) { return Handle(); }
int32_t TDefaultNode::Emit(int32_t) { return Handle(); }
int32_t TSelectNode::Emit(int32_t, int32_t, int32_t, int32_t) { return Handle(); }
int32_t TForWhileNode::Emit(int32_t, int32_t, int32_t) { return Handle(); }
int32_t TForNode::Emit(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {
  return Handle();
}
int32_t TExitNode::Emit() { return Handle(); }
int32_t TContinueNode::Emit() { return Handle(); }
std::string* NewCString(std::string_view content) { return new std::string(content); }

}  // namespace zintrel

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zintrel;
  int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
  int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  if (lines < 1) lines = 1;
  if (runs < 1) runs = 1;

  int written = 0;
  std::string source = bench::Generate(lines, written);
  std::string path = (std::filesystem::temp_directory_path() /
                      bench::Cat("zintrel_parser_engine_bench_", std::to_string(getpid()), ".zn"))
                         .string();
  std::ofstream(path, std::ios::binary) << source;
  LocationRecord record;
  TLexer::TokenLocation = &record;

  double best = 1e9, total = 0;
  for (int run = 0; run < runs; ++run) {
    auto start = std::chrono::steady_clock::now();
    TLexer::Load(path);
    int result = Parse();
    double seconds = Seconds(start);
    if (result != PARSE_ACCEPTED) {
      std::fprintf(stderr, "parse failed (%d) at line %d\n", result, record.FirstLine);
      std::filesystem::remove(path);
      return 1;
    }
    best = std::min(best, seconds);
    total += seconds;
  }
  std::filesystem::remove(path);

  std::printf("%d lines, %.1f MB, %d runs\n", written, static_cast<double>(source.size()) / 1e6,
              runs);
  std::printf("lex + parse (no tree): best %.2f M lines/s, mean %.2f M lines/s\n",
              written / best / 1e6, written * runs / total / 1e6);
  return 0;
}
