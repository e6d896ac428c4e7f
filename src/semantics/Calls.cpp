#include "semantics/Calls.h"

#include "frontend/Bridge.h"
#include "frontend/Target.h"
#include "model/ClassNode.h"
#include "model/Datatype.h"
#include "model/VariableDeclNode.h"

namespace zintrel {

// Calls

void TFunctionCall::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TExpressionNode::VisitNodeFields(visitor);
  visitor(TargetExp);
  visitor(Datatype);
}

int TFunctionCall::CheckCorrectness(TScope*) { return 0; }

int TFunctionCall::SetupChildren() {
  if (TargetExp != nullptr) AddChildNode(TargetExp);
  AddChildNodeList(Parameters);
  return 0;
}

TFunctionCall* TFunctionCall::Create(TExpressionNode* target,
                                     const std::vector<TExpressionNode*>* parameters,
                                     int32_t isStatement) {
  TargetExp = target;
  Parameters = parameters != nullptr ? *parameters : std::vector<TExpressionNode*>();
  IsStatement = isStatement;
  SetupChildren();
  return this;
}

int32_t TFunctionCall::Emit(int32_t target, int32_t parameters, int32_t isStatement) {
  TFunctionCall* call = ActiveTarget->CreateFunctionCall();
  if (isStatement == -1) {
    if (auto* parsed = dynamic_cast<TFunctionCall*>(HandleToNode(target))) {
      call->TargetExp = parsed->TargetExp;
      call->Parameters = parsed->Parameters;
    }
    call->IsStatement = 1;
  } else {
    call->IsStatement = isStatement;
    call->TargetExp = dynamic_cast<TExpressionNode*>(HandleToNode(target));
    call->Parameters = NodesOfList<TExpressionNode>(HandleToList(parameters));
  }
  call->SetupChildren();
  return call->TableID;
}

// Member access

void TMemberAccessExpression::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TExpressionNode::VisitNodeFields(visitor);
  visitor(TargetExp);
  visitor(TargetClass);
  visitor(Origin);
  visitor(Datatype);
}

int TMemberAccessExpression::CheckCorrectness(TScope*) { return 0; }

int TMemberAccessExpression::EvaluateResult() { return 0; }

int TMemberAccessExpression::IsConstant() {
  return Origin != nullptr && Origin->DeclKind == DECL_CONST ? 1 : 0;
}

int TMemberAccessExpression::SetupChildren() {
  if (TargetExp != nullptr) AddChildNode(TargetExp);
  return 0;
}

TMemberAccessExpression* TMemberAccessExpression::Create(TExpressionNode* target,
                                                         std::string identifier) {
  TargetExp = target;
  Identifier = std::move(identifier);
  return this;
}

int32_t TMemberAccessExpression::Emit(int32_t target, std::string* name) {
  TMemberAccessExpression* access = ActiveTarget->CreateMemberAccessExpression();
  access->TargetExp = dynamic_cast<TExpressionNode*>(HandleToNode(target));
  access->Identifier = TakeCString(name);
  access->SetupChildren();
  return access->TableID;
}

// Object creation

void TNewExpression::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TExpressionNode::VisitNodeFields(visitor);
  visitor(TargetClass);
  visitor(Datatype);
}

int TNewExpression::CheckCorrectness(TScope*) { return 0; }

int32_t TNewExpression::Emit(std::string* name, int32_t parameters) {
  TNewExpression* creation = ActiveTarget->CreateNewExpression();
  creation->Identifier = TakeCString(name);
  creation->Parameters = NodesOfList<TExpressionNode>(HandleToList(parameters));
  return creation->TableID;
}

}  // namespace zintrel
