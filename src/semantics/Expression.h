#pragma once
// The expression protocol and the constant slot, and the leaf and wrapper expressions: literals,
// variables and parenthesised expressions.
#include <string>
#include <string_view>

#include "model/ASTNode.h"
#include "support/Name.h"

namespace zintrel {

class TDatatype;
class TVariableDeclNode;

// Truncation toward zero, saturating outside the 64-bit range (NaN gives 0).
int64_t DoubleToInt64(double value);

class TExpressionNode : public TStatementNode {
 public:
  TExpressionNode* AsExpression() override { return this; }
  // The folded constant value; read by the expression's datatype.
  union {
    int64_t Int;
    float Float;
    double Double;
  } GenericResult{0};

  virtual TDatatype* EvaluateDatatype() = 0;
  // Most expressions are no storage location, not assignable and not constant, and fold to
  // nothing; the others say otherwise.
  virtual int EvaluateResult() { return 0; }
  virtual int IsLValue() { return 0; }
  virtual int IsWritable() { return 0; }
  virtual int IsConstant() { return 0; }

  int SetIntResult(int64_t value);
  int SetFloatResult(float value);
  int SetDoubleResult(double value);
  int64_t GetIntResult() const { return GenericResult.Int; }
  float GetFloatResult() const { return GenericResult.Float; }
  double GetDoubleResult() const { return GenericResult.Double; }
  // Folds the value of the constant a name refers to into this expression.
  int EvaluateConstantOf(TVariableDeclNode* origin);
  // The folded value converted by the expression's datatype; call EvaluateResult first.
  int64_t GetCastedIntResult();
  double GetCastedDoubleResult();
  std::string GetCastedStringResult();
};

class TLiteralNode : public TExpressionNode {
  ZINTREL_NODE_CLASS(TLiteralNode, NC_LITERAL)
 public:
  int32_t LiteralKind = 0;
  // A number's value, in the member its kind names: integers and Bool in IntValue, Float and
  // Double in their own; every other literal leaves IntValue at 0.
  union {
    int64_t IntValue = 0;
    float FloatValue;
    double DoubleValue;
  };
  // A string literal's text, interned like a name: literals that are not strings hold one
  // pointer, not a string object.
  TName StringValue;
  TDatatype* Datatype = nullptr;

  std::string GetName() const override { return "TLiteralNode"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  TDatatype* EvaluateDatatype() override { return Datatype; }
  int EvaluateResult() override;
  int IsConstant() override;
  bool IsSelf() const;
  bool IsSuper() const;

  // A literal of the datatype's kind with its value read from text (constants rebuilt from
  // records, the return of constructors).
  TLiteralNode* Create(TDatatype* datatype, std::string_view text);

  // Creation by the parser: kind is the literal's token code; value the 64-bit token value
  // (-1 for Null, True, False, Self and Super); a string literal brings its text.
  static int32_t Emit(int32_t kind, int64_t value);
  static int32_t Emit(int32_t kind, TName text);

 private:
  int Check(TScope* scope);
};

class TVariableNode : public TExpressionNode {
  ZINTREL_NODE_CLASS(TVariableNode, NC_VARIABLE)
 public:
  TName Identifier;
  TDatatype* Datatype = nullptr;
  TVariableDeclNode* Origin = nullptr;

  std::string GetName() const override { return "TVariableNode"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  TDatatype* EvaluateDatatype() override { return Datatype; }
  int EvaluateResult() override;
  int IsLValue() override { return 1; }
  int IsWritable() override;
  int IsConstant() override;

  int SetupChildren();
  TVariableNode* Create(std::string identifier, TDatatype* datatype);
  static int32_t Emit(TName name, int32_t datatype);
};

class TGroupingExpression : public TExpressionNode {
 public:
  TExpressionNode* TargetExp = nullptr;
  TDatatype* Datatype = nullptr;

  std::string GetName() const override { return "TGroupingExpression"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  TDatatype* EvaluateDatatype() override { return Datatype; }
  int EvaluateResult() override;
  int IsLValue() override;
  int IsWritable() override;
  int IsConstant() override;

  int SetupChildren();
  static int32_t Emit(int32_t expression);
};

}  // namespace zintrel
