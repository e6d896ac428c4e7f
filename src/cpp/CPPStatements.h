#pragma once
// The C++ target's statement and expression nodes, with their C++ text.
#include <string>

#include "model/AllNodes.h"

namespace zintrel {

class TCPPIfNode : public TIfNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPElseIfNode : public TElseIfNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPElseNode : public TElseNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPWhileNode : public TWhileNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPRepeatNode : public TRepeatNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPSelectNode : public TSelectNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPCaseNode : public TCaseNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPDefaultNode : public TDefaultNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPForWhileNode : public TForWhileNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPForNode : public TForNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPExitNode : public TExitNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPContinueNode : public TContinueNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPAssignmentNode : public TAssignmentNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPReturnNode : public TReturnNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPDeleteNode : public TDeleteNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPAddressExpression : public TAddressExpression {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPAutoArrayExpression : public TAutoArrayExpression {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPNewArrayExpression : public TNewArrayExpression {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPIndexExpression : public TIndexExpression {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPFunctionCall : public TFunctionCall {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPTypeCastExpression : public TTypeCastExpression {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPBinaryOpExpression : public TBinaryOpExpression {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPUnaryOpExpression : public TUnaryOpExpression {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPGroupingExpression : public TGroupingExpression {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPMemberAccessExpression : public TMemberAccessExpression {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPLiteralNode : public TLiteralNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPVariableNode : public TVariableNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

class TCPPNewExpression : public TNewExpression {
 public:
  std::string GenerateCode(const std::string& indent) override;
};

}  // namespace zintrel
