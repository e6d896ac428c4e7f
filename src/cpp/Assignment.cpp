// C++ text of assignment, Return and Delete.
#include "cpp/CPPNodes.h"
#include "cpp/Text.h"

namespace zintrel {

std::string TCPPAssignmentNode::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPAssignmentNode::AppendCode(std::string& out, const std::string& indent) {
  out += indent;
  AppendNodeCode(out, LeftExp, indent);
  out += " = ";
  AppendNodeCode(out, RightExp, indent);
}

std::string TCPPReturnNode::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPReturnNode::AppendCode(std::string& out, const std::string& indent) {
  out += indent;
  out += "return";
  if (TargetExp != nullptr) {
    out += ' ';
    AppendNodeCode(out, TargetExp, indent);
  }
}

std::string TCPPDeleteNode::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPDeleteNode::AppendCode(std::string& out, const std::string& indent) {
  out += indent;
  out += "delete ";
  AppendNodeCode(out, TargetExp, indent);
}

}  // namespace zintrel
