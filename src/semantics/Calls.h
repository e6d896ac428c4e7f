#pragma once
// Calls, member access and object creation.
#include <string>
#include <vector>

#include "semantics/Expression.h"

namespace zintrel {

class TClassNode;

class TFunctionCall : public TExpressionNode {
  ZINTREL_NODE_CLASS(TFunctionCall, NC_FUNCTION_CALL)
 public:
  int32_t IsStatement = 0;
  TExpressionNode* TargetExp = nullptr;
  TDatatype* Datatype = nullptr;
  std::vector<TExpressionNode*> Parameters;

  std::string GetName() const override { return "TFunctionCall"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  // The return type; using the value of a call of a function without one is an error.
  TDatatype* EvaluateDatatype() override;

  // A class name called with one argument is a cast: 1 when the call was replaced by one.
  int TransformToTypecast(TScope* scope);
  // Self(...) and Super(...) call the constructor of the class or of its first parent.
  int TransformToConstructorCall(TScope* scope);
  int SetupChildren();
  TFunctionCall* Create(TExpressionNode* target, const std::vector<TExpressionNode*>* parameters,
                        int32_t isStatement);
  // isStatement -1: target names a call already built for the same text; its callee and
  // arguments are taken over and the new call is a statement.
  static int32_t Emit(int32_t target, int32_t parameters, int32_t isStatement);
};

class TMemberAccessExpression : public TExpressionNode {
  ZINTREL_NODE_CLASS(TMemberAccessExpression, NC_MEMBER_ACCESS)
 public:
  TExpressionNode* TargetExp = nullptr;
  TName Identifier;
  TClassNode* TargetClass = nullptr;
  TVariableDeclNode* Origin = nullptr;
  TDatatype* Datatype = nullptr;
  int32_t IsStaticAccess = 0;
  int32_t Writable = 0;

  std::string GetName() const override { return "TMemberAccessExpression"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  TDatatype* EvaluateDatatype() override { return Datatype; }
  int EvaluateResult() override;
  int IsLValue() override { return 1; }
  int IsWritable() override { return Writable; }
  int IsConstant() override;

  int SetupChildren();
  TMemberAccessExpression* Create(TExpressionNode* target, std::string identifier);
  static int32_t Emit(int32_t target, TName name);
};

class TNewExpression : public TExpressionNode {
 public:
  TName Identifier;
  TClassNode* TargetClass = nullptr;
  std::vector<TExpressionNode*> Parameters;
  TDatatype* Datatype = nullptr;
  // The parser always gives an argument list; it is taken away when the creation becomes a
  // constructor call, so the creation is not rewritten twice.
  bool HasParameterList = true;

  std::string GetName() const override { return "TNewExpression"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  TDatatype* EvaluateDatatype() override { return Datatype; }

  // Creation with a constructor becomes a call of the constructor on the new object: 1 when the
  // node was replaced.
  int PerformASTTransformation(TScope* scope);
  // The arguments are not registered as children.
  static int32_t Emit(TName name, int32_t parameters);
};

}  // namespace zintrel
