#include "model/Datatype.h"

#include "driver/Paths.h"
#include "frontend/Bridge.h"
#include "frontend/Target.h"
#include "model/ClassNode.h"
#include "model/FunctionNode.h"
#include "model/VariableDeclNode.h"
#include "semantics/Expression.h"

namespace zintrel {

namespace {

bool IsUnsignedKind(int32_t kind) { return kind >= TYPE_UBYTE && kind <= TYPE_ULONG; }

}  // namespace

int TDatatype::CheckCorrectness(TScope*) { return 0; }

void TDatatype::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TASTNode::VisitNodeFields(visitor);
  visitor(Compound);
  visitor(FunctionNode);
  visitor(ReturnType);
  visitor(NestedType);
}

TDatatype* TDatatype::Create(int32_t kind, TASTNode* reference, int32_t dimension) {
  TypeKind = kind;
  Dimension = dimension;
  if (kind == TYPE_STRING) {
    Identifier = "String";
  } else if (IsUnsignedKind(kind)) {
    TypeKind = kind - 7;
    IsUnsigned = 1;
  } else if (kind == TYPE_COMPOUND) {
    Compound = dynamic_cast<TClassNode*>(reference);
    if (Compound != nullptr) Identifier = Compound->Identifier;
  } else if (kind == TYPE_FUNCTION) {
    FunctionNode = dynamic_cast<TFunctionNode*>(reference);
    if (FunctionNode != nullptr) {
      ReturnType = FunctionNode->ReturnDatatype;
      ParameterCount = FunctionNode->ParameterCount;
      Parameters.assign(static_cast<size_t>(ParameterCount), nullptr);
      Identifiers.assign(static_cast<size_t>(ParameterCount), std::string());
      for (int32_t i = 0; i < ParameterCount; ++i) {
        if (TVariableDeclNode* parameter = FunctionNode->GetParameter(i)) {
          Parameters[static_cast<size_t>(i)] = parameter->Datatype;
          Identifiers[static_cast<size_t>(i)] = parameter->Identifier;
        }
      }
    }
  } else if (kind == TYPE_POINTER) {
    NestedType = dynamic_cast<TDatatype*>(reference);
  } else if (kind == TYPE_ARRAY) {
    Identifier = "Array";
    NestedType = dynamic_cast<TDatatype*>(reference);
  }
  SetupChildren();
  return this;
}

int TDatatype::SetupChildren() {
  if (NestedType != nullptr) AddChildNode(NestedType);
  if (ReturnType != nullptr) AddChildNode(ReturnType);
  if (ParameterCount != 0) AddChildNodeArray(Parameters);
  return 0;
}

TDatatype* TDatatype::Copy() {
  SetCommonRoot(Root);
  if (IsFunction()) Abort("Not yet implemented", this);
  TASTNode* reference = nullptr;
  if (IsCompound()) reference = Compound;
  if (IsPointer() || IsArray()) reference = NestedType;
  return ActiveTarget->CreateDatatype()->Create(IsUnsigned ? TypeKind + 7 : TypeKind, reference,
                                                Dimension);
}

int32_t TDatatype::Emit(int32_t kind, int32_t reference, int32_t extra) {
  TDatatype* type = ActiveTarget->CreateDatatype();
  type->TypeKind = kind;
  if (kind == TYPE_POINTER || kind == TYPE_ARRAY) {
    type->Dimension = extra;
    type->NestedType = dynamic_cast<TDatatype*>(HandleToNode(reference));
    if (kind == TYPE_ARRAY) type->Identifier = "Array";
  } else if (kind == TYPE_FUNCTION) {
    // extra names the list of parameter declarations here, not a dimension.
    type->ReturnType = dynamic_cast<TDatatype*>(HandleToNode(reference));
    std::vector<TVariableDeclNode*> parameters =
        NodesOfList<TVariableDeclNode>(HandleToList(extra));
    type->ParameterCount = static_cast<int32_t>(parameters.size());
    for (TVariableDeclNode* parameter : parameters) {
      type->Parameters.push_back(parameter->Datatype);
      type->Identifiers.push_back(parameter->Identifier);
      type->ParamValues.push_back(parameter->Value);
      if (parameter->Value == nullptr) ++type->MandatoryParamCount;
    }
  } else {
    type->Dimension = extra;
    if (IsUnsignedKind(kind)) {
      type->TypeKind = kind - 7;
      type->IsUnsigned = 1;
    }
  }
  type->SetupChildren();
  return type->TableID;
}

int32_t TDatatype::Emit(int32_t kind, std::string* name, int32_t extra) {
  if (kind != TYPE_COMPOUND) {
    TakeCString(name);
    return Emit(kind, -1, extra);
  }
  TDatatype* type = ActiveTarget->CreateDatatype();
  type->TypeKind = TYPE_COMPOUND;
  type->Dimension = extra;
  type->Identifier = TakeCString(name);
  // There is no keyword for strings: a class type named String in any letter case is one.
  if (ToLower(type->Identifier) == "string") type->TypeKind = TYPE_STRING;
  type->SetupChildren();
  return type->TableID;
}

}  // namespace zintrel
