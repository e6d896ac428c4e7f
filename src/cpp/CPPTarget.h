#pragma once
// The C++ target: its factory creates the TCPP node classes.
#include "cpp/CPPNodes.h"
#include "model/NodeFactory.h"

namespace zintrel {

class TCPPTarget : public TTarget {
 public:
  TProgramNode* CreateProgramNode() override;
  TFunctionNode* CreateFunctionNode() override;
  TClassNode* CreateClassNode() override;
  TIfNode* CreateIfNode() override;
  TElseIfNode* CreateElseIfNode() override;
  TElseNode* CreateElseNode() override;
  TWhileNode* CreateWhileNode() override;
  TRepeatNode* CreateRepeatNode() override;
  TSelectNode* CreateSelectNode() override;
  TCaseNode* CreateCaseNode() override;
  TDefaultNode* CreateDefaultNode() override;
  TForWhileNode* CreateForWhileNode() override;
  TForNode* CreateForNode() override;
  TExitNode* CreateExitNode() override;
  TContinueNode* CreateContinueNode() override;
  TAssignmentNode* CreateAssignmentNode() override;
  TReturnNode* CreateReturnNode() override;
  TDeleteNode* CreateDeleteNode() override;
  TAddressExpression* CreateAddressExpression() override;
  TAutoArrayExpression* CreateAutoArrayExpression() override;
  TNewArrayExpression* CreateNewArrayExpression() override;
  TIndexExpression* CreateIndexExpression() override;
  TFunctionCall* CreateFunctionCall() override;
  TTypeCastExpression* CreateTypeCastExpression() override;
  TBinaryOpExpression* CreateBinaryOpExpression() override;
  TUnaryOpExpression* CreateUnaryOpExpression() override;
  TGroupingExpression* CreateGroupingExpression() override;
  TMemberAccessExpression* CreateMemberAccessExpression() override;
  TLiteralNode* CreateLiteralNode() override;
  TVariableNode* CreateVariableNode() override;
  TNewExpression* CreateNewExpression() override;
  TVariableDeclNode* CreateVariableDeclNode() override;
  TDatatype* CreateDatatype() override;
  int InitFunctionTable() override;
};

}  // namespace zintrel
