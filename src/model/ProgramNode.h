#pragma once
// The root of one source file, of one loaded module record, or of the merged program.
#include <string>
#include <vector>

#include "model/ASTNode.h"

namespace zintrel {

class TDependencyNode;
class TFunctionNode;
class TClassNode;

class TProgramNode : public TASTNode {
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

  std::string GetName() const override { return "TProgramNode"; }
  int CheckCorrectness(TScope* scope) override;
  // Appends the other node's statements, functions, classes and libraries to this node's.
  int Merge(const TProgramNode* other);
};

}  // namespace zintrel
