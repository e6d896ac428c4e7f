#pragma once
// The node factory through which every syntax-tree node is created, so that the tree consists of
// the node classes of the active target.
#include "frontend/NodeTable.h"

namespace zintrel {

class TProgramNode;
class TFunctionNode;
class TClassNode;
class TIfNode;
class TElseIfNode;
class TElseNode;
class TWhileNode;
class TRepeatNode;
class TSelectNode;
class TCaseNode;
class TDefaultNode;
class TForWhileNode;
class TForNode;
class TExitNode;
class TContinueNode;
class TAssignmentNode;
class TReturnNode;
class TDeleteNode;
class TAddressExpression;
class TAutoArrayExpression;
class TNewArrayExpression;
class TIndexExpression;
class TFunctionCall;
class TTypeCastExpression;
class TBinaryOpExpression;
class TUnaryOpExpression;
class TGroupingExpression;
class TMemberAccessExpression;
class TLiteralNode;
class TVariableNode;
class TNewExpression;
class TVariableDeclNode;
class TDatatype;

// A target, like the nodes it makes, lives until the process ends; each compile sets up its own.
class TTarget : public TForever {
 public:
  virtual ~TTarget() = default;
  virtual TProgramNode* CreateProgramNode() = 0;
  virtual TFunctionNode* CreateFunctionNode() = 0;
  virtual TClassNode* CreateClassNode() = 0;
  virtual TIfNode* CreateIfNode() = 0;
  virtual TElseIfNode* CreateElseIfNode() = 0;
  virtual TElseNode* CreateElseNode() = 0;
  virtual TWhileNode* CreateWhileNode() = 0;
  virtual TRepeatNode* CreateRepeatNode() = 0;
  virtual TSelectNode* CreateSelectNode() = 0;
  virtual TCaseNode* CreateCaseNode() = 0;
  virtual TDefaultNode* CreateDefaultNode() = 0;
  virtual TForWhileNode* CreateForWhileNode() = 0;
  virtual TForNode* CreateForNode() = 0;
  virtual TExitNode* CreateExitNode() = 0;
  virtual TContinueNode* CreateContinueNode() = 0;
  virtual TAssignmentNode* CreateAssignmentNode() = 0;
  virtual TReturnNode* CreateReturnNode() = 0;
  virtual TDeleteNode* CreateDeleteNode() = 0;
  virtual TAddressExpression* CreateAddressExpression() = 0;
  virtual TAutoArrayExpression* CreateAutoArrayExpression() = 0;
  virtual TNewArrayExpression* CreateNewArrayExpression() = 0;
  virtual TIndexExpression* CreateIndexExpression() = 0;
  virtual TFunctionCall* CreateFunctionCall() = 0;
  virtual TTypeCastExpression* CreateTypeCastExpression() = 0;
  virtual TBinaryOpExpression* CreateBinaryOpExpression() = 0;
  virtual TUnaryOpExpression* CreateUnaryOpExpression() = 0;
  virtual TGroupingExpression* CreateGroupingExpression() = 0;
  virtual TMemberAccessExpression* CreateMemberAccessExpression() = 0;
  virtual TLiteralNode* CreateLiteralNode() = 0;
  virtual TVariableNode* CreateVariableNode() = 0;
  virtual TNewExpression* CreateNewExpression() = 0;
  virtual TVariableDeclNode* CreateVariableDeclNode() = 0;
  virtual TDatatype* CreateDatatype() = 0;
  // Connects the parser's node-building callbacks to this target.
  virtual int InitFunctionTable() = 0;
};

// The target chosen by the driver for the current compilation.
extern TTarget* ActiveTarget;

}  // namespace zintrel
