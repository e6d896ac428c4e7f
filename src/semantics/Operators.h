#pragma once
// Binary and unary operators and explicit type conversions.
#include "semantics/Expression.h"

namespace zintrel {

class TBinaryOpExpression : public TExpressionNode {
  ZINTREL_NODE_CLASS(TBinaryOpExpression, NC_BINARY_OP)
 public:
  int32_t Operator = 0;
  TExpressionNode* LeftExp = nullptr;
  TExpressionNode* RightExp = nullptr;
  TDatatype* Datatype = nullptr;

  std::string GetName() const override { return "TBinaryOpExpression"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  TDatatype* EvaluateDatatype() override { return Datatype; }
  int EvaluateResult() override;
  int IsConstant() override;

  int SetupChildren();
  TBinaryOpExpression* Create(int32_t op, TExpressionNode* left, TExpressionNode* right);
  static int32_t Emit(int32_t op, int32_t left, int32_t right);
};

class TUnaryOpExpression : public TExpressionNode {
  ZINTREL_NODE_CLASS(TUnaryOpExpression, NC_UNARY_OP)
 public:
  int32_t Operator = 0;
  TExpressionNode* TargetExp = nullptr;
  TDatatype* Datatype = nullptr;

  std::string GetName() const override { return "TUnaryOpExpression"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  TDatatype* EvaluateDatatype() override { return Datatype; }
  int EvaluateResult() override;
  int IsConstant() override;

  int SetupChildren();
  static int32_t Emit(int32_t op, int32_t operand);
};

class TTypeCastExpression : public TExpressionNode {
  ZINTREL_NODE_CLASS(TTypeCastExpression, NC_TYPE_CAST)
 public:
  TDatatype* Datatype = nullptr;
  TExpressionNode* TargetExp = nullptr;

  std::string GetName() const override { return "TTypeCastExpression"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  TDatatype* EvaluateDatatype() override { return Datatype; }
  int EvaluateResult() override;
  int IsConstant() override;

  int SetupChildren();
  // A cast of the expression to the datatype, taking the expression's place below its parent;
  // the caller puts the cast where the expression was.
  TTypeCastExpression* Create(TExpressionNode* expression, TDatatype* datatype, TScope* scope);
  static int32_t Emit(int32_t datatype, int32_t operand);
  // Records the class converted from as used by the file (C++ needs its whole declaration).
  void UseSourceClass(const TDatatype* from);
  // An implicit conversion: when the value's type (given) differs from target, the value, a
  // child of parent, is wrapped in a cast to a copy of target that takes its place.
  static void Convert(TASTNode* parent, TExpressionNode* value, const TDatatype* given,
                      TDatatype* target, TScope* scope);
};

}  // namespace zintrel
