#pragma once
// Control statements: If, While, Repeat, Select, For in its forms, Exit and Continue.
#include <vector>

#include "model/ASTNode.h"

namespace zintrel {

class TDatatype;
class TExpressionNode;
class TStatementList;

class TElseIfNode : public TASTNode {
  ZINTREL_NODE_CLASS(TElseIfNode, NC_ELSE_IF)
 public:
  TExpressionNode* Expression = nullptr;
  TStatementList* Statements = nullptr;

  std::string GetName() const override { return "TElseIfNode"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  int SetupChildren();
  TElseIfNode* Create(TExpressionNode* condition, TStatementList* statements);
  static int32_t Emit(int32_t condition, int32_t body);
};

class TElseNode : public TASTNode {
  ZINTREL_NODE_CLASS(TElseNode, NC_ELSE)
 public:
  TStatementList* Statements = nullptr;

  std::string GetName() const override { return "TElseNode"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  int SetupChildren();
  TElseNode* Create(TStatementList* statements);
  static int32_t Emit(int32_t body);
};

class TIfNode : public TStatementNode {
  ZINTREL_NODE_CLASS(TIfNode, NC_IF)
 public:
  TExpressionNode* Expression = nullptr;
  TStatementList* Statements = nullptr;
  std::vector<TElseIfNode*> ElseIfList;
  TElseNode* ElseBranch = nullptr;

  std::string GetName() const override { return "TIfNode"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  int SetupChildren();
  TIfNode* Create(TExpressionNode* condition, TStatementList* statements,
                  std::vector<TElseIfNode*> elseIfList, TElseNode* elseBranch);
  static int32_t Emit(int32_t condition, int32_t body, int32_t elseIfList, int32_t elseBranch);
};

class TWhileNode : public TStatementNode {
  ZINTREL_NODE_CLASS(TWhileNode, NC_WHILE)
 public:
  TExpressionNode* Expression = nullptr;
  TStatementList* Statements = nullptr;

  std::string GetName() const override { return "TWhileNode"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  int SetupChildren();
  static int32_t Emit(int32_t condition, int32_t body);
};

class TRepeatNode : public TStatementNode {
  ZINTREL_NODE_CLASS(TRepeatNode, NC_REPEAT)
 public:
  TExpressionNode* Expression = nullptr;  // the Until condition; none for Forever
  TStatementList* Statements = nullptr;

  std::string GetName() const override { return "TRepeatNode"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  int SetupChildren();
  static int32_t Emit(int32_t condition, int32_t body);
};

class TCaseNode : public TASTNode {
 public:
  TExpressionNode* Expression = nullptr;
  TDatatype* Datatype = nullptr;
  TStatementList* Statements = nullptr;

  std::string GetName() const override { return "TCaseNode"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  int SetupChildren();
  static int32_t Emit(int32_t value, int32_t body);
};

class TDefaultNode : public TASTNode {
  ZINTREL_NODE_CLASS(TDefaultNode, NC_DEFAULT)
 public:
  TStatementList* Statements = nullptr;

  std::string GetName() const override { return "TDefaultNode"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  int SetupChildren();
  static int32_t Emit(int32_t body);
};

class TSelectNode : public TStatementNode {
 public:
  TExpressionNode* Expression = nullptr;
  TDatatype* Datatype = nullptr;
  std::vector<TCaseNode*> CaseList;
  TDefaultNode* DefaultCase = nullptr;

  std::string GetName() const override { return "TSelectNode"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  int SetupChildren();
  // Lowers the Select into a local holding the selector and an If chain comparing it.
  int PerformASTTransformation(TScope* scope);
  // Cases written after the Default come as a second list (-1 when there is none).
  static int32_t Emit(int32_t selector, int32_t cases, int32_t defaultCase, int32_t casesAfter);
};

class TForWhileNode : public TStatementNode {
  ZINTREL_NODE_CLASS(TForWhileNode, NC_FOR_WHILE)
 public:
  TStatementList* ForStatements = nullptr;
  TExpressionNode* WhileExpression = nullptr;
  TStatementList* Statements = nullptr;

  std::string GetName() const override { return "TForWhileNode"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  int SetupChildren();
  static int32_t Emit(int32_t initialStatements, int32_t condition, int32_t body);
};

class TForNode : public TStatementNode {
  ZINTREL_NODE_CLASS(TForNode, NC_FOR)
 public:
  int32_t DefineVariable = 0;
  TExpressionNode* Variable = nullptr;
  TExpressionNode* FromExpression = nullptr;
  TExpressionNode* ToExpression = nullptr;
  TExpressionNode* StepExpression = nullptr;
  int32_t SkipLast = 0;
  TStatementList* Statements = nullptr;
  TStatementNode* LoopVariable = nullptr;

  std::string GetName() const override { return "TForNode"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  int SetupChildren();
  static int32_t Emit(int32_t defineVariable, int32_t variable, int32_t from, int32_t to,
                      int32_t step, int32_t skipLast, int32_t body);
};

class TExitNode : public TStatementNode {
 public:
  std::string GetName() const override { return "TExitNode"; }
  int CheckCorrectness(TScope* scope) override;
  static int32_t Emit();
};

class TContinueNode : public TStatementNode {
 public:
  std::string GetName() const override { return "TContinueNode"; }
  int CheckCorrectness(TScope* scope) override;
  static int32_t Emit();
};

}  // namespace zintrel
