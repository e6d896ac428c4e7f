#include "cpp/CPPNodes.h"

namespace zintrel {

// C++ text is produced by the code generator; until it exists these nodes yield no text.

TCPPProgramNode* TCPPProgramNode::Create() { return new TCPPProgramNode(); }
std::string TCPPProgramNode::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPFunctionNode::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPClassNode::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPVariableDeclNode::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPDatatype::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPDatatype::GenerateAutoValue(const std::string&) { return std::string(); }

}  // namespace zintrel
