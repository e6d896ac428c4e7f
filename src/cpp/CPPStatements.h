#pragma once
// The C++ target's statement and expression nodes, with their C++ text. Each node appends its
// text to the text being built (AppendCode); GenerateCode answers it as a string of its own.
#include <string>

#include "model/AllNodes.h"

namespace zintrel {

// The C++ spelling of a type, as declarations write it.
std::string CPPTypeText(TDatatype* type);
// Integers of different signedness are compared (and divided) by value, not as C++ would
// (converting the signed one to unsigned): the type both are converted to first, int64_t or
// __int128 when a ULong is involved; null when C++'s own comparison gives the same answer.
const char* WideComparisonType(TExpressionNode* left, TExpressionNode* right);
// "((type)(" + the operand's text + "))".
void AppendConverted(std::string& out, std::string_view type, TExpressionNode* operand,
                     const std::string& indent);

class TCPPIfNode : public TIfNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPElseIfNode : public TElseIfNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPElseNode : public TElseNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPWhileNode : public TWhileNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPRepeatNode : public TRepeatNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPSelectNode : public TSelectNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPCaseNode : public TCaseNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPDefaultNode : public TDefaultNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPForWhileNode : public TForWhileNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPForNode : public TForNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPExitNode : public TExitNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPContinueNode : public TContinueNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPAssignmentNode : public TAssignmentNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPReturnNode : public TReturnNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPDeleteNode : public TDeleteNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPAddressExpression : public TAddressExpression {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPAutoArrayExpression : public TAutoArrayExpression {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPNewArrayExpression : public TNewArrayExpression {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPIndexExpression : public TIndexExpression {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPFunctionCall : public TFunctionCall {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPTypeCastExpression : public TTypeCastExpression {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPBinaryOpExpression : public TBinaryOpExpression {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
  // The C++ operator of Operator.
  std::string OperatorToCode();

 private:
  // Operators on two integers and on pointers, where C++'s rules differ from the checker's.
  void AppendIntegerCode(std::string& out, const std::string& indent, const std::string& op);
  void AppendPointerCode(std::string& out, const std::string& indent, const std::string& op);
};

class TCPPUnaryOpExpression : public TUnaryOpExpression {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPGroupingExpression : public TGroupingExpression {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPMemberAccessExpression : public TMemberAccessExpression {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPLiteralNode : public TLiteralNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPVariableNode : public TVariableNode {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

class TCPPNewExpression : public TNewExpression {
 public:
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
};

}  // namespace zintrel
