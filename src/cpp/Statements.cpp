#include "cpp/CPPNodes.h"

namespace zintrel {

// C++ text is produced by the code generator; until it exists these nodes yield no text.

std::string TCPPIfNode::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPElseIfNode::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPElseNode::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPWhileNode::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPRepeatNode::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPSelectNode::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPCaseNode::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPDefaultNode::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPForWhileNode::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPForNode::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPExitNode::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPContinueNode::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPAssignmentNode::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPReturnNode::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPDeleteNode::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPAddressExpression::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPAutoArrayExpression::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPNewArrayExpression::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPIndexExpression::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPFunctionCall::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPTypeCastExpression::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPBinaryOpExpression::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPUnaryOpExpression::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPGroupingExpression::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPMemberAccessExpression::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPLiteralNode::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPVariableNode::GenerateCode(const std::string&) { return std::string(); }
std::string TCPPNewExpression::GenerateCode(const std::string&) { return std::string(); }

}  // namespace zintrel
