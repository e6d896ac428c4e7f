#include "cpp/CPPTarget.h"

namespace zintrel {

TCPPProgramNode* TCPPProgramNode::Create() { return new TCPPProgramNode(); }

std::string TCPPProgramNode::GenerateCode(const std::string&) { return std::string(); }

TProgramNode* TCPPTarget::CreateProgramNode() { return TCPPProgramNode::Create(); }

int TCPPTarget::InitFunctionTable() { return 0; }

}  // namespace zintrel
