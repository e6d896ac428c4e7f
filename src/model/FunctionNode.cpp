#include "model/FunctionNode.h"

#include "frontend/Bridge.h"
#include "model/NodeFactory.h"
#include "model/ClassNode.h"
#include "model/Datatype.h"
#include "model/Scope.h"
#include "model/VariableDeclNode.h"
#include "semantics/Expression.h"

namespace zintrel {

int TFunctionNode::CheckSignatureCorrectness(TScope* scope) {
  if (ReturnDatatype != nullptr && !ReturnDatatype->IsVoid()) ReturnDatatype->CheckCorrectness(scope);
  if (IsAbstract && !IsMethod) Abort("Functions can not be declared as abstract", this);
  bool optionalSeen = false;
  for (TVariableDeclNode* parameter : Parameters) {
    parameter->CheckSignatureCorrectness(scope);
    if (parameter->Value != nullptr) {
      optionalSeen = true;
    } else if (optionalSeen) {
      Abort("Non-optional parameter following optional parameter", parameter);
    }
  }
  return 0;
}

int TFunctionNode::CheckCorrectness(TScope* scope) {
  if (IsMethod) {
    if (ParentClass == nullptr) ParentClass = EnclosingNode<TClassNode>(this);
    if (ParentClass == nullptr) Abort("Methods can only be declared inside classes", this);
  }
  if (ReturnDatatype != nullptr && !ReturnDatatype->IsVoid()) ReturnDatatype->CheckCorrectness(scope);
  // Needed only while the function is checked: no node keeps it.
  TScope functionScope;
  functionScope.Create(scope);
  for (TVariableDeclNode* parameter : Parameters) parameter->CheckCorrectness(&functionScope);
  if (Statements != nullptr) Statements->CheckCorrectness(&functionScope);
  return 0;
}

void TFunctionNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TASTNode::VisitNodeFields(visitor);
  visitor(Datatype);
  visitor(Declaration);
  visitor(ParentClass);
  visitor(ReturnDatatype);
  visitor(Statements);
  visitor(Parameters);
}

TVariableDeclNode* TFunctionNode::GetParameter(int32_t index) const {
  if (index < 0 || static_cast<size_t>(index) >= Parameters.size()) return nullptr;
  return Parameters[static_cast<size_t>(index)];
}

int TFunctionNode::SetupChildren() {
  AddChildNodeList(Parameters);
  if (Statements != nullptr) AddChildNode(Statements);
  if (ReturnDatatype != nullptr) AddChildNode(ReturnDatatype);
  if (Datatype != nullptr) AddChildNode(Datatype);
  if (Declaration != nullptr) AddChildNode(Declaration);
  return 0;
}

int TFunctionNode::TransformToConstructor(TClassNode* owner) {
  TNodeOrigin origin(this);
  if (ReturnDatatype != nullptr && !ReturnDatatype->IsVoid())
    Abort("Specifying return type for constructors is not allowed", this);
  TDatatype* type = ActiveTarget->CreateDatatype()->Create(TYPE_COMPOUND, owner, 0);
  if (Datatype != nullptr) Datatype->ReplaceChildNode(Datatype->ReturnType(), type->Copy());
  ReplaceChildNode(ReturnDatatype, type);
  Identifier = owner->GenerateConstructorIdentifier();
  if (Declaration != nullptr) Declaration->Identifier = Identifier;
  IsConstructor = 1;
  return 0;
}

int32_t TFunctionNode::Emit(int32_t header, int32_t body, int32_t isMethod, int32_t flags) {
  TFunctionNode* function = ActiveTarget->CreateFunctionNode();
  function->IsMethod = isMethod;
  function->IsAbstract = (flags & tok::FLAG_ABSTRACT) != 0;
  function->IsFinal = (flags & tok::FLAG_FINAL) != 0;
  auto* heading = NodeCast<TVariableNode>(HandleToNode(header));
  TDatatype* type = heading != nullptr ? heading->Datatype : nullptr;
  if (heading != nullptr) function->Identifier = heading->Identifier;
  if (type != nullptr) {
    function->ReturnDatatype = type->ReturnType();
    function->ParameterCount = type->Signature().ParameterCount;
  }
  function->Statements = TStatementList::Create(TakeList(body));
  if (function->ReturnDatatype == nullptr)
    function->ReturnDatatype = ActiveTarget->CreateDatatype()->Create(TYPE_VOID, nullptr, 0);
  for (int32_t i = 0; i < function->ParameterCount; ++i) {
    size_t at = static_cast<size_t>(i);
    const TFunctionTypeParts& parts = type->Signature();
    TExpressionNode* value = at < parts.ParamValues.size() ? parts.ParamValues[at] : nullptr;
    TVariableDeclNode* parameter = ActiveTarget->CreateVariableDeclNode()->Create(
        DECL_LOCAL, parts.Identifiers[at], parts.Parameters[at], value);
    parameter->CopyLocation(heading);
    function->Parameters.push_back(parameter);
  }
  function->Datatype = ActiveTarget->CreateDatatype()->Create(TYPE_FUNCTION, function, 0);
  function->Declaration = ActiveTarget->CreateVariableDeclNode()->Create(
      DECL_FUNCTION, function->Identifier, function->Datatype, nullptr);
  function->Declaration->CopyLocation(function);
  function->SetupChildren();
  // The heading and its function type only carried the name, the return type and the
  // parameters, which now belong to the function.
  if (heading != nullptr) {
    if (type != nullptr && type->Parent == heading && type->IsFunction()) TakeNode(type->TableID);
    TakeNode(header);
  }
  return function->TableID;
}

}  // namespace zintrel
