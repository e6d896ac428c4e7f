#include "cpp/CPPTarget.h"

namespace zintrel {

TProgramNode* TCPPTarget::CreateProgramNode() { return TCPPProgramNode::Create(); }
TFunctionNode* TCPPTarget::CreateFunctionNode() { return new TCPPFunctionNode(); }
TClassNode* TCPPTarget::CreateClassNode() { return new TCPPClassNode(); }
TIfNode* TCPPTarget::CreateIfNode() { return new TCPPIfNode(); }
TElseIfNode* TCPPTarget::CreateElseIfNode() { return new TCPPElseIfNode(); }
TElseNode* TCPPTarget::CreateElseNode() { return new TCPPElseNode(); }
TWhileNode* TCPPTarget::CreateWhileNode() { return new TCPPWhileNode(); }
TRepeatNode* TCPPTarget::CreateRepeatNode() { return new TCPPRepeatNode(); }
TSelectNode* TCPPTarget::CreateSelectNode() { return new TCPPSelectNode(); }
TCaseNode* TCPPTarget::CreateCaseNode() { return new TCPPCaseNode(); }
TDefaultNode* TCPPTarget::CreateDefaultNode() { return new TCPPDefaultNode(); }
TForWhileNode* TCPPTarget::CreateForWhileNode() { return new TCPPForWhileNode(); }
TForNode* TCPPTarget::CreateForNode() { return new TCPPForNode(); }
TExitNode* TCPPTarget::CreateExitNode() { return new TCPPExitNode(); }
TContinueNode* TCPPTarget::CreateContinueNode() { return new TCPPContinueNode(); }
TAssignmentNode* TCPPTarget::CreateAssignmentNode() { return new TCPPAssignmentNode(); }
TReturnNode* TCPPTarget::CreateReturnNode() { return new TCPPReturnNode(); }
TDeleteNode* TCPPTarget::CreateDeleteNode() { return new TCPPDeleteNode(); }
TAddressExpression* TCPPTarget::CreateAddressExpression() { return new TCPPAddressExpression(); }
TAutoArrayExpression* TCPPTarget::CreateAutoArrayExpression() { return new TCPPAutoArrayExpression(); }
TNewArrayExpression* TCPPTarget::CreateNewArrayExpression() { return new TCPPNewArrayExpression(); }
TIndexExpression* TCPPTarget::CreateIndexExpression() { return new TCPPIndexExpression(); }
TFunctionCall* TCPPTarget::CreateFunctionCall() { return new TCPPFunctionCall(); }
TTypeCastExpression* TCPPTarget::CreateTypeCastExpression() { return new TCPPTypeCastExpression(); }
TBinaryOpExpression* TCPPTarget::CreateBinaryOpExpression() { return new TCPPBinaryOpExpression(); }
TUnaryOpExpression* TCPPTarget::CreateUnaryOpExpression() { return new TCPPUnaryOpExpression(); }
TGroupingExpression* TCPPTarget::CreateGroupingExpression() { return new TCPPGroupingExpression(); }
TMemberAccessExpression* TCPPTarget::CreateMemberAccessExpression() { return new TCPPMemberAccessExpression(); }
TLiteralNode* TCPPTarget::CreateLiteralNode() { return new TCPPLiteralNode(); }
TVariableNode* TCPPTarget::CreateVariableNode() { return new TCPPVariableNode(); }
TNewExpression* TCPPTarget::CreateNewExpression() { return new TCPPNewExpression(); }
TVariableDeclNode* TCPPTarget::CreateVariableDeclNode() { return new TCPPVariableDeclNode(); }
TDatatype* TCPPTarget::CreateDatatype() { return new TCPPDatatype(); }

// The grammar's actions call the creation entries directly; the entries build their nodes
// through ActiveTarget, so there is no table to fill.
int TCPPTarget::InitFunctionTable() { return 0; }

}  // namespace zintrel
