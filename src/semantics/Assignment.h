#pragma once
// Assignment, Return and Delete.
#include "model/ASTNode.h"

namespace zintrel {

class TExpressionNode;

class TAssignmentNode : public TStatementNode {
  ZINTREL_NODE_CLASS(TAssignmentNode, NC_ASSIGNMENT)
 public:
  TExpressionNode* LeftExp = nullptr;
  TExpressionNode* RightExp = nullptr;

  std::string GetName() const override { return "TAssignmentNode"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  int SetupChildren();
  // The parser reads "target = value" as an "=" comparison and hands that node over.
  static int32_t Emit(int32_t equality);
};

class TReturnNode : public TStatementNode {
  ZINTREL_NODE_CLASS(TReturnNode, NC_RETURN)
 public:
  TExpressionNode* TargetExp = nullptr;
  // The Self a constructor's bare Return was given; a second check of the node accepts it.
  TExpressionNode* ImplicitSelf = nullptr;

  std::string GetName() const override { return "TReturnNode"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  int SetupChildren();
  static int32_t Emit(int32_t value);
};

class TDeleteNode : public TStatementNode {
 public:
  TExpressionNode* TargetExp = nullptr;

  std::string GetName() const override { return "TDeleteNode"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  int SetupChildren();
  static int32_t Emit(int32_t value);
};

}  // namespace zintrel
