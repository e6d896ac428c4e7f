#pragma once
// The root of one source file, of one loaded module record, or of the merged program.
#include <string>
#include <string_view>
#include <vector>

#include "model/ASTNode.h"
#include "support/Name.h"

namespace zintrel {

class TDependencyNode;
class TFunctionNode;
class TClassNode;

class TProgramNode : public TASTNode {
  ZINTREL_NODE_CLASS_BIT(TProgramNode, NC_PROGRAM)
 public:
  TDependencyNode* Dependencies = nullptr;
  std::vector<std::string> FileImports;
  std::vector<std::string> ModuleImports;
  std::vector<TStatementNode*> Statements;
  std::vector<TFunctionNode*> Functions;
  std::vector<TClassNode*> Classes;
  std::vector<std::string> Includes;
  std::vector<std::string> LinkTargets;
  std::vector<std::string> CompileTargets;
  std::vector<std::string> Libraries;
  int32_t IsModule = 0;

  TProgramNode();
  std::string GetName() const override { return "TProgramNode"; }
  // The semantic check of a whole program, in its fixed order of passes.
  int CheckCorrectness(TScope* scope) override;
  // Told, while the program is checked, how many of its functions have their bodies checked:
  // 0 once the classes are, then one more after each function. A target may start on the text
  // of the functions checked while the check goes on.
  virtual void FunctionBodiesChecked(size_t count) { (void)count; }
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  // Records that user refers to the declaration, under the dependency node of the file that
  // declares it; the first non-extern user is kept. The end of the upward chain.
  int AddDependency(TASTNode* dependency, TASTNode* user) override;
  bool KeepsDependencies() const override { return true; }
  // 1 when a walk up the parents of the class reaches a class on the walk's own path.
  int CheckInheritanceCycles(TClassNode* c);
  int SetupChildren();
  // Appends the other node's statements, functions, classes and libraries to this node's.
  int Merge(const TProgramNode* other);
  // Dependency records (defined with the record writer and reader): appends the export lines;
  // rebuilds the declarations from a whole record text without CR (null when malformed).
  int ToStream(std::vector<std::string>& lines) const;
  TProgramNode* FromString(std::string_view text);

  // Creation by the parser: the root of the file being parsed, which becomes CommonRoot.
  static int32_t Emit();
  static int32_t EmitProgramFileImport(int32_t root, TName text);
  static int32_t EmitProgramModuleImport(int32_t root, std::string* text);
  static int32_t EmitProgramGlobal(int32_t root, int32_t list);
  static int32_t EmitProgramStatement(int32_t root, int32_t statement);
  static int32_t EmitProgramFunction(int32_t root, int32_t function);
  static int32_t EmitProgramClass(int32_t root, int32_t classNode);
  static int32_t EmitProgramExtern(int32_t root, int32_t list);
};

}  // namespace zintrel
