#include "semantics/Calls.h"

#include "frontend/Bridge.h"
#include "model/NodeFactory.h"
#include "model/ClassNode.h"
#include "model/Datatype.h"
#include "model/FunctionNode.h"
#include "model/Scope.h"
#include "semantics/Operators.h"
#include "support/Text.h"
#include "model/VariableDeclNode.h"

namespace zintrel {

// Calls

void TFunctionCall::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TExpressionNode::VisitNodeFields(visitor);
  visitor(TargetExp);
  visitor(Datatype);
  visitor(Parameters);
}

namespace {

void ReplaceInParent(TASTNode* node, TASTNode* replacement) {
  if (node->Parent != nullptr) node->Parent->ReplaceChildNode(node, replacement);
}

}  // namespace

TDatatype* TFunctionCall::EvaluateDatatype() {
  if (Datatype != nullptr && Datatype->IsVoid()) Abort("Function does not return a value", this);
  return Datatype;
}

int TFunctionCall::TransformToTypecast(TScope* scope) {
  if (Parameters.size() != 1) return 0;
  auto* name = NodeCast<TVariableNode>(TargetExp);
  if (name == nullptr) return 0;
  auto* target = NodeCast<TClassNode>(scope->Find(name->Identifier));
  if (target == nullptr) return 0;
  TNodeOrigin origin(this);
  // String(x) converts to the string type, as a type written String is one, not to the class.
  TDatatype* type = target->Identifier.Lower() == "string"
                        ? ActiveTarget->CreateDatatype()->Create(TYPE_STRING, nullptr, 0)
                        : ActiveTarget->CreateDatatype()->Create(TYPE_COMPOUND, target, 0);
  TTypeCastExpression* cast =
      ActiveTarget->CreateTypeCastExpression()->Create(Parameters[0], type, scope);
  ReplaceInParent(this, cast);
  cast->CheckCorrectness(scope);
  return 1;
}

int TFunctionCall::TransformToConstructorCall(TScope* scope) {
  auto* literal = NodeCast<TLiteralNode>(TargetExp);
  if (literal == nullptr || !(literal->IsSelf() || literal->IsSuper())) return 0;
  literal->CheckCorrectness(scope);
  TClassNode* target = literal->Datatype != nullptr ? literal->Datatype->Compound : nullptr;
  if (target == nullptr || target->Constructor == nullptr)
    Abort("No constructor available for class '" +
              (target != nullptr ? target->Identifier.str() : TypeText(literal->Datatype)) + "'",
          this);
  TNodeOrigin origin(literal);
  TMemberAccessExpression* member = ActiveTarget->CreateMemberAccessExpression()->Create(
      literal, target->GenerateConstructorIdentifier());
  ReplaceChildNode(literal, member);
  return 0;
}

int TFunctionCall::CheckCorrectness(TScope* scope) {
  GuardStack(this);
  if (TransformToTypecast(scope)) return 0;
  TransformToConstructorCall(scope);
  TargetExp->CheckCorrectness(scope);
  TDatatype* function = TargetExp->EvaluateDatatype();
  if (function == nullptr || !function->IsFunction())
    Abort("Expression of type '" + TypeText(function) + "' cannot be called as a function", this);
  for (TExpressionNode* argument : Parameters) argument->CheckCorrectness(scope);
  const TFunctionTypeParts& parts = function->Signature();
  if (static_cast<int32_t>(Parameters.size()) > parts.ParameterCount)
    Abort("Too many arguments", this);
  // Arguments of another type than their parameter's are converted by explicit casts.
  std::vector<TExpressionNode*> arguments = Parameters;
  for (size_t i = 0; i < arguments.size(); ++i) {
    TExpressionNode* argument = arguments[i];
    TDatatype* given = argument->EvaluateDatatype();
    TDatatype* expected = parts.Parameters[i];
    if (given == nullptr || !given->IsCastable(expected))
      Abort("Invalid datatype for argument '" + parts.Identifiers[i] + "': Expected '" +
                TypeText(expected) + "' but received '" + TypeText(given) + "'",
            this);
    TTypeCastExpression::Convert(this, argument, given, expected, scope);
  }
  if (static_cast<int32_t>(Parameters.size()) < parts.MandatoryParamCount)
    Abort("Too few arguments", this);
  // A declared function's type counts no mandatory parameter, as an omitted argument takes
  // the declaration's default value: one whose parameter has none is missing.
  if (const TFunctionNode* declared = function->FunctionNode())
    for (int32_t i = static_cast<int32_t>(Parameters.size()); i < declared->ParameterCount; ++i)
      if (const TVariableDeclNode* parameter = declared->GetParameter(i))
        if (parameter->Value == nullptr) Abort("Too few arguments", this);
  Datatype = function->ReturnType();
  return 0;
}

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
    // The call parsed as an expression is not kept.
    if (auto* parsed = NodeCast<TFunctionCall>(HandleToNode(target))) {
      call->TargetExp = parsed->TargetExp;
      call->Parameters = std::move(parsed->Parameters);
      TakeNode(target);
    }
    call->IsStatement = 1;
  } else {
    call->IsStatement = isStatement;
    call->TargetExp = NodeCast<TExpressionNode>(HandleToNode(target));
    call->Parameters = NodesOfList<TExpressionNode>(TakeList(parameters));
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

int TMemberAccessExpression::CheckCorrectness(TScope* scope) {
  GuardStack(this);
  auto* name = NodeCast<TVariableNode>(TargetExp);
  TClassNode* named = name != nullptr ? NodeCast<TClassNode>(scope->Find(name->Identifier))
                                      : nullptr;
  if (named != nullptr) {
    TargetClass = named;
    IsStaticAccess = 1;
  } else {
    TargetExp->CheckCorrectness(scope);
    TDatatype* type = TargetExp->EvaluateDatatype();
    if (type == nullptr || !(type->IsCompound() || type->IsString() || type->IsArray()))
      Abort("Member access is only valid for classes", this);
    // Strings and arrays made by operators have not met a scope yet: resolve their class here.
    if (type->Compound == nullptr) type->CheckCorrectness(scope);
    TargetClass = type->Compound;
    if (TargetClass == nullptr) Abort("Member access is only valid for classes", this);
  }
  AddDependency(TargetClass, this);
  TVariableDeclNode* member = TargetClass->FindMember(Identifier, 0);
  if (member == nullptr)
    Abort("'" + Identifier + "' is not a valid member of '" + TargetClass->Identifier + "'", this);
  if (member->Visibility == VISIBILITY_PRIVATE) {
    TClassNode* here = EnclosingNode<TClassNode>(this);
    if (here == nullptr || !member->HasParentNode(here))
      Abort("Member '" + Identifier + "' is private and not accessible from here", this);
  }
  Identifier = member->Identifier;
  Datatype = member->Datatype;
  if (member->DeclKind == DECL_FIELD || member->DeclKind == DECL_GLOBAL) Writable = 1;
  Origin = member;
  return 0;
}

int TMemberAccessExpression::EvaluateResult() { return EvaluateConstantOf(Origin); }

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

int32_t TMemberAccessExpression::Emit(int32_t target, TName name) {
  TMemberAccessExpression* access = ActiveTarget->CreateMemberAccessExpression();
  access->TargetExp = NodeCast<TExpressionNode>(HandleToNode(target));
  access->Identifier = name;
  access->SetupChildren();
  return access->TableID;
}

// Object creation

void TNewExpression::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TExpressionNode::VisitNodeFields(visitor);
  visitor(TargetClass);
  visitor(Datatype);
  visitor(Parameters);
}

int TNewExpression::CheckCorrectness(TScope* scope) {
  TargetClass = NodeCast<TClassNode>(scope->Find(Identifier));
  if (TargetClass == nullptr) Abort("Class '" + Identifier + "' not found", this);
  if (TargetClass->IsAbstract()) {
    std::string message = "Unable to instantiate abstract class '" + Identifier + "'";
    const std::vector<TFunctionNode*>& missing = TargetClass->AbstractFunctions;
    if (!TargetClass->AbstractFlag && !missing.empty()) {
      message += " due to abstract function";
      message += missing.size() > 1 ? "s:\n" : " ";
      for (size_t i = 0; i < missing.size(); ++i) {
        if (i > 0) message += "\n";
        message += "'" + missing[i]->Identifier + "'";
      }
    }
    Abort(message, this);
  }
  AddDependency(TargetClass, this);
  TNodeOrigin origin(this);
  Datatype = ActiveTarget->CreateDatatype()->Create(TYPE_COMPOUND, TargetClass, 0);
  AddChildNode(Datatype);
  if (!Parameters.empty() && TargetClass->Constructor == nullptr)
    Abort("No constructor available for class '" + TargetClass->Identifier + "'", this);
  PerformASTTransformation(scope);
  return 0;
}

int TNewExpression::PerformASTTransformation(TScope* scope) {
  if (!HasParameterList || TargetClass->Constructor == nullptr) return 0;
  TNodeOrigin origin(this);
  TMemberAccessExpression* member = ActiveTarget->CreateMemberAccessExpression()->Create(
      this, TargetClass->GenerateConstructorIdentifier());
  TFunctionCall* call = ActiveTarget->CreateFunctionCall()->Create(member, &Parameters, 0);
  ReplaceInParent(this, call);
  Parameters.clear();
  HasParameterList = false;
  call->CheckCorrectness(scope);
  return 1;
}

int32_t TNewExpression::Emit(TName name, int32_t parameters) {
  TNewExpression* creation = ActiveTarget->CreateNewExpression();
  creation->Identifier = name;
  creation->Parameters = NodesOfList<TExpressionNode>(TakeList(parameters));
  return creation->TableID;
}

}  // namespace zintrel
