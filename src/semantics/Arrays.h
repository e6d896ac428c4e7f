#pragma once
// Indexing, array literals, new arrays and addresses.
#include <vector>

#include "semantics/Expression.h"

namespace zintrel {

class TIndexExpression : public TExpressionNode {
 public:
  int32_t IsArray = 0;
  TExpressionNode* TargetExp = nullptr;
  std::vector<TExpressionNode*> Indices;
  TDatatype* Datatype = nullptr;

  std::string GetName() const override { return "TIndexExpression"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  TDatatype* EvaluateDatatype() override { return Datatype; }
  int IsLValue() override { return 1; }
  int IsWritable() override { return 1; }

  int SetupChildren();
  static int32_t Emit(int32_t target, int32_t indices);
};

class TAutoArrayExpression : public TExpressionNode {
  ZINTREL_NODE_CLASS(TAutoArrayExpression, NC_AUTO_ARRAY)
 public:
  std::vector<TExpressionNode*> Values;
  TDatatype* Datatype = nullptr;

  std::string GetName() const override { return "TAutoArrayExpression"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  TDatatype* EvaluateDatatype() override { return Datatype; }

  int SetupChildren();
  static int32_t Emit(int32_t values);
};

class TNewArrayExpression : public TExpressionNode {
 public:
  std::vector<TExpressionNode*> Sizes;
  TDatatype* Datatype = nullptr;

  std::string GetName() const override { return "TNewArrayExpression"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  TDatatype* EvaluateDatatype() override { return Datatype; }

  int SetupChildren();
  static int32_t Emit(int32_t elementType, int32_t sizes);
};

class TAddressExpression : public TExpressionNode {
 public:
  TExpressionNode* TargetExp = nullptr;
  TDatatype* Datatype = nullptr;

  std::string GetName() const override { return "TAddressExpression"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  TDatatype* EvaluateDatatype() override { return Datatype; }

  int SetupChildren();
  static int32_t Emit(int32_t operand);
};

}  // namespace zintrel
