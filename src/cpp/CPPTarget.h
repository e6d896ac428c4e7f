#pragma once
// The C++ target: creates the TCPP node classes, which add C++ code generation to the checks.
#include "frontend/Target.h"
#include "model/ProgramNode.h"

namespace zintrel {

class TCPPProgramNode : public TProgramNode {
 public:
  static TCPPProgramNode* Create();
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPTarget : public TTarget {
 public:
  TProgramNode* CreateProgramNode() override;
  int InitFunctionTable() override;
};

}  // namespace zintrel
