#pragma once
// The C++ target's declaration nodes: types, variables, functions, classes and the program node,
// with the C++ text of declarations and of a file's translation units.
#include <string>

#include "model/AllNodes.h"

namespace zintrel {

class TCPPProgramNode : public TProgramNode {
 public:
  static TCPPProgramNode* Create();
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPFunctionNode : public TFunctionNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPClassNode : public TClassNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPVariableDeclNode : public TVariableDeclNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPDatatype : public TDatatype {
 public:
  std::string GenerateCode(const std::string& indent) override;
  std::string GenerateAutoValue(const std::string& text) override;
};

}  // namespace zintrel
