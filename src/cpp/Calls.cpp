// C++ text of calls, member access and object creation.
#include <typeinfo>

#include "cpp/CPPNodes.h"
#include "cpp/Text.h"

namespace zintrel {

std::string TCPPFunctionCall::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPFunctionCall::AppendCode(std::string& out, const std::string& indent) {
  if (IsStatement) out += indent;
  AppendNodeCode(out, TargetExp, indent);
  out += '(';
  bool first = true;
  for (TExpressionNode* argument : Parameters) {
    if (!first) out += ", ";
    first = false;
    AppendNodeCode(out, argument, indent);
  }
  out += ')';
}

std::string TCPPMemberAccessExpression::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPMemberAccessExpression::AppendCode(std::string& out, const std::string& indent) {
  if (IsStaticAccess || (TargetExp != nullptr && typeid(*TargetExp) == typeid(TCPPLiteralNode) &&
                         static_cast<TLiteralNode*>(TargetExp)->IsSuper())) {
    if (TargetClass != nullptr) AppendCPPIdentifier(out, TargetClass->Identifier);
    out += "::";
  } else {
    out += '(';
    AppendNodeCode(out, TargetExp, indent);
    out += ")->";
  }
  AppendCPPIdentifier(out, Identifier);
}

std::string TCPPNewExpression::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPNewExpression::AppendCode(std::string& out, const std::string&) {
  out += "(new ";
  AppendCPPIdentifier(out, TargetClass != nullptr ? TargetClass->Identifier : Identifier);
  out += ')';
}

}  // namespace zintrel
