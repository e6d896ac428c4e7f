#include "model/Datatype.h"

#include "support/Text.h"
#include "frontend/Bridge.h"
#include "model/NodeFactory.h"
#include "model/ClassNode.h"
#include "model/FunctionNode.h"
#include "model/Scope.h"
#include "model/VariableDeclNode.h"
#include "semantics/Expression.h"

namespace zintrel {

std::string TypeText(const TDatatype* type) { return type != nullptr ? type->ToString() : std::string(); }

namespace {

bool IsUnsignedKind(int32_t kind) { return kind >= TYPE_UBYTE && kind <= TYPE_ULONG; }

// Unequal for sub-types that may be missing: two absent types are the same, one absent is not.
int Unequal(const TDatatype* a, const TDatatype* b) {
  if (a == b) return 0;
  if (a == nullptr || b == nullptr) return 1;
  return a->IsUnequal(b);
}

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// Position of the first occurrence of c outside any () or [] pair; npos when there is none.
size_t FindAtDepthZero(std::string_view text, char c) {
  int at = FindAtDepth(text, std::string_view(&c, 1), 0, 0);
  return at < 0 ? std::string_view::npos : static_cast<size_t>(at);
}

TDatatype* NewFromString(std::string_view text) {
  return ActiveTarget->CreateDatatype()->FromString(text);
}

struct TScalarName {
  const char* Text;
  int32_t Kind;
};

// The scalar kinds by their textual form; unsigned forms are the signed ones with a "U" prefix.
constexpr TScalarName ScalarNames[] = {
    {"Bool", TYPE_BOOL},   {"Byte", TYPE_BYTE},   {"Short", TYPE_SHORT},   {"Int", TYPE_INT},
    {"Long", TYPE_LONG},   {"Float", TYPE_FLOAT}, {"Double", TYPE_DOUBLE}, {"String", TYPE_STRING},
    {"Void", TYPE_VOID},   {"Null", TYPE_ANY},
};

const char* ScalarText(int32_t kind) {
  for (const TScalarName& scalar : ScalarNames)
    if (scalar.Kind == kind) return scalar.Text;
  return nullptr;
}

}  // namespace

int TDatatype::CheckCorrectness(TScope* scope) {
  GuardStack(this);
  // A shared String type is never resolved in place, as it stands for every literal sharing it:
  // each literal finds the class itself, records its own use of it and takes the shared type
  // of the class found.
  if (SharedKind && TypeKind == TYPE_STRING) return 0;
  switch (TypeKind) {
    case TYPE_COMPOUND:
    case TYPE_STRING:
    case TYPE_ARRAY:
      ResolveClass(scope);
      if (TypeKind == TYPE_ARRAY && NestedType != nullptr) NestedType->CheckCorrectness(scope);
      break;
    case TYPE_FUNCTION:
      if (ReturnType() != nullptr && !ReturnType()->IsVoid()) ReturnType()->CheckCorrectness(scope);
      for (TDatatype* parameter : Signature().Parameters)
        if (parameter != nullptr) parameter->CheckCorrectness(scope);
      break;
    case TYPE_POINTER:
      if (NestedType != nullptr && !NestedType->IsVoid()) NestedType->CheckCorrectness(scope);
      break;
    case TYPE_VOID:
      Abort("Void is only allowed in conjunction with pointers or functions", this);
    default:
      break;
  }
  return 0;
}

int TDatatype::ResolveClass(TScope* scope) {
  TASTNode* found = scope != nullptr ? scope->Find(Identifier) : nullptr;
  Compound = NodeCast<TClassNode>(found);
  if (Compound != nullptr) {
    AddDependency(Compound, this);
  } else if (SuppressLookupErrors == 0) {
    if (found == nullptr) Abort("Class '" + Identifier + "' not found", this);
    Abort("'" + Identifier + "' is not a class", this);
  }
  return 0;
}

std::string TDatatype::ToString() const {
  GuardStack(this);
  std::string text = IsUnsigned ? "U" : "";
  if (const char* scalar = ScalarText(TypeKind)) return text + scalar;
  switch (TypeKind) {
    case TYPE_COMPOUND:
      return text + Identifier;
    case TYPE_POINTER:
      return text + TypeText(NestedType) + " Ptr";
    case TYPE_ARRAY:
      // One comma between each two dimensions, however many there are.
      return text + TypeText(NestedType) + "[" +
             std::string(static_cast<size_t>(Dimension > 1 ? Dimension - 1 : 0), ',') + "]";
    case TYPE_FUNCTION: {
      text += TypeText(ReturnType()) + "(";
      const TFunctionTypeParts& parts = Signature();
      for (size_t i = 0; i < parts.Parameters.size(); ++i) {
        if (i != 0) text += ", ";
        text += (i < parts.Identifiers.size() ? parts.Identifiers[i] : std::string()) + ":" +
                TypeText(parts.Parameters[i]);
      }
      return text + ")";
    }
    default:
      Abort("Invalid Datatype", this);
  }
}

int TDatatype::IsUnequal(const TDatatype* other) const {
  GuardStack(this);
  if (other == nullptr) return 1;
  if (IsAny() || other->IsAny()) return 0;
  if (TypeKind != other->TypeKind || IsUnsigned != other->IsUnsigned) return 1;
  if (IsCompound()) return Compound != other->Compound ? 1 : 0;
  if (IsPointer() || IsArray()) {
    if (Dimension != other->Dimension) return 1;
    return Unequal(NestedType, other->NestedType);
  }
  if (!IsFunction()) return 0;
  if (FunctionNode() != nullptr && other->FunctionNode() != nullptr &&
      FunctionNode()->IsMethod != other->FunctionNode()->IsMethod)
    return 1;
  const TFunctionTypeParts& parts = Signature();
  const TFunctionTypeParts& otherParts = other->Signature();
  if (parts.ParameterCount != otherParts.ParameterCount) return 1;
  if (Unequal(ReturnType(), other->ReturnType())) return 1;
  for (size_t i = 0; i < parts.Parameters.size() && i < otherParts.Parameters.size(); ++i)
    if (Unequal(parts.Parameters[i], otherParts.Parameters[i])) return 1;
  return 0;
}

int TDatatype::IsCastable(const TDatatype* target) const {
  GuardStack(this);
  if (IsAny()) return 1;
  if (target == nullptr) return 0;
  if (IsUnequal(target) == 0) return 1;
  if (IsNumeric() && (target->IsNumeric() || target->IsString())) return 1;
  if (IsPointer() && target->IsVoidPointer()) return 1;
  if (target->IsBoolean()) return 1;
  if (IsString() && target->IsPointer() && target->NestedType != nullptr &&
      target->NestedType->TypeKind == TYPE_BYTE)
    return 1;
  // Function types are covariant in a class-typed return type; parameters are not compared.
  if (IsFunction() && target->IsFunction() && ReturnType() != nullptr &&
      target->ReturnType() != nullptr && ReturnType()->IsCompound() &&
      target->ReturnType()->IsCompound() && ReturnType()->IsCastable(target->ReturnType()))
    return 1;
  if (IsCompound() && target->IsCompound())
    return Compound != nullptr && target->Compound != nullptr &&
                   Compound->HasParent(target->Compound)
               ? 1
               : 0;
  if ((IsArray() || IsString()) && target->IsCompound() && target->Identifier == "Object")
    return 1;
  return 0;
}

int TDatatype::IsExplicitCastable(const TDatatype* target) const {
  if (IsCastable(target)) return 1;
  if (target == nullptr) return 0;
  if (IsString() && target->IsNumeric()) return 1;
  if ((IsPointer() && target->IsInteger()) || (IsInteger() && target->IsPointer())) return 1;
  if (IsPointer() && target->IsPointer()) return 1;
  // Down-casts and object-to-string casts are checked at run time by the generated code.
  if ((IsCompound() || IsString()) &&
      (target->IsCompound() || target->IsString() || target->IsArray()))
    return 1;
  return 0;
}

namespace {

// The kind code Create takes for the type: unsigned kinds have codes of their own.
int32_t FullKind(const TDatatype* type) {
  return type->IsUnsigned ? type->TypeKind + tok::UNSIGNED_OFFSET : type->TypeKind;
}

bool IsSharedKind(int32_t kind) {
  return kind == TYPE_ANY || kind == TYPE_BOOL || (kind >= TYPE_BYTE && kind <= TYPE_DOUBLE) ||
         (kind >= TYPE_UBYTE && kind <= TYPE_ULONG);
}

// A copy of the type; the shared one for the kinds that have one.
TDatatype* SharedOrCopy(TDatatype* type) {
  const int32_t kind = FullKind(type);
  return IsSharedKind(kind) && type->Dimension == 0 ? TDatatype::Shared(kind) : type->Copy();
}

}  // namespace

TDatatype* TDatatype::Shared(int32_t kind) {
  if (!IsSharedKind(kind)) return ActiveTarget->CreateDatatype()->Create(kind, nullptr, 0);
  // Per target: a process may build with several targets one after another.
  static TTarget* owner = nullptr;
  static TDatatype* types[TYPE_ARRAY - TYPE_ANY + 1] = {};
  if (owner != ActiveTarget) {
    std::fill(std::begin(types), std::end(types), nullptr);
    owner = ActiveTarget;
  }
  TDatatype*& type = types[kind - TYPE_ANY];
  if (type == nullptr) {
    TNodeOrigin::TDetached detached;
    type = ActiveTarget->CreateDatatype()->Create(kind, nullptr, 0);
    type->SharedKind = true;
  }
  return type;
}

TDatatype* TDatatype::SharedString(TClassNode* stringClass) {
  // Per target, as above; a program has one String class, a few at most.
  static TTarget* owner = nullptr;
  static std::vector<std::pair<TClassNode*, TDatatype*>> types;
  if (owner != ActiveTarget) {
    types.clear();
    owner = ActiveTarget;
  }
  for (const auto& [c, type] : types)
    if (c == stringClass) return type;
  TNodeOrigin::TDetached detached;
  TDatatype* type = ActiveTarget->CreateDatatype()->Create(TYPE_STRING, nullptr, 0);
  type->Compound = stringClass;
  type->SharedKind = true;
  types.emplace_back(stringClass, type);
  return type;
}

int TDatatype::SetParentNode(TASTNode* parent) {
  return SharedKind ? 0 : TASTNode::SetParentNode(parent);
}

TDatatype* TDatatype::Promote(TDatatype* a, TDatatype* b) {
  if (a == nullptr || b == nullptr) return nullptr;
  if (a->IsAny()) return SharedOrCopy(b);
  if (b->IsAny()) return SharedOrCopy(a);
  if (a->IsCompound() || b->IsCompound()) return nullptr;
  for (int32_t kind : {TYPE_STRING, TYPE_POINTER, TYPE_DOUBLE, TYPE_FLOAT, TYPE_LONG}) {
    if (a->TypeKind == kind) return SharedOrCopy(a);
    if (b->TypeKind == kind) return SharedOrCopy(b);
  }
  return Shared(TYPE_INT);
}

TDatatype* TDatatype::FromString(std::string_view text) {
  GuardStack(this);
  IsCompiled = 1;
  if (text.empty()) {
    TypeKind = TYPE_VOID;
  } else if (EndsWith(text, " Ptr")) {
    TypeKind = TYPE_POINTER;
    NestedType = NewFromString(text.substr(0, text.size() - 4));
  } else if (EndsWith(text, "]") && text.rfind('[') != std::string_view::npos) {
    const size_t open = text.rfind('[');
    TypeKind = TYPE_ARRAY;
    Dimension = static_cast<int32_t>(text.rfind(']') - open);
    NestedType = NewFromString(text.substr(0, open));
    Identifier = "Array";
  } else if (EndsWith(text, ")") && FindAtDepthZero(text, '(') != std::string_view::npos) {
    const size_t open = FindAtDepthZero(text, '(');
    TypeKind = TYPE_FUNCTION;
    TFunctionTypeParts& parts = EditSignature();
    parts.ReturnType = NewFromString(text.substr(0, open));
    std::string_view rest = text.substr(open + 1, text.size() - open - 2);
    while (!rest.empty()) {
      const size_t comma = FindAtDepthZero(rest, ',');
      std::string_view piece = rest.substr(0, comma);
      const size_t colon = piece.find(':');
      if (colon == std::string_view::npos) {
        parts.Identifiers.emplace_back();
        parts.Parameters.push_back(NewFromString(piece));
      } else {
        parts.Identifiers.emplace_back(piece.substr(0, colon));
        parts.Parameters.push_back(NewFromString(piece.substr(colon + 1)));
      }
      ++parts.ParameterCount;
      if (comma == std::string_view::npos) break;
      rest = rest.substr(comma + 1);
      if (!rest.empty() && rest.front() == ' ') rest = rest.substr(1);
    }
  } else {
    TypeKind = TYPE_COMPOUND;
    Identifier = std::string(text);
    for (const TScalarName& scalar : ScalarNames) {
      if (scalar.Kind == TYPE_ANY) continue;
      if (text == scalar.Text) {
        TypeKind = scalar.Kind;
        Identifier = scalar.Kind == TYPE_STRING ? "String" : "";
        break;
      }
      if (scalar.Kind >= TYPE_BYTE && scalar.Kind <= TYPE_LONG && text.size() > 1 &&
          text.front() == 'U' && text.substr(1) == scalar.Text) {
        TypeKind = scalar.Kind;
        IsUnsigned = 1;
        Identifier = TName();
        break;
      }
    }
  }
  SetupChildren();
  return this;
}

void TDatatype::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TASTNode::VisitNodeFields(visitor);
  visitor(Compound);
  visitor(NestedType);
  if (Parts != nullptr) {
    visitor(Parts->FunctionNode);
    visitor(Parts->ReturnType);
    visitor(Parts->Parameters);
  }
}

TDatatype* TDatatype::Create(int32_t kind, TASTNode* reference, int32_t dimension) {
  TypeKind = kind;
  Dimension = dimension;
  if (kind == TYPE_STRING) {
    Identifier = "String";
  } else if (IsUnsignedKind(kind)) {
    TypeKind = kind - tok::UNSIGNED_OFFSET;
    IsUnsigned = 1;
  } else if (kind == TYPE_COMPOUND) {
    Compound = NodeCast<TClassNode>(reference);
    if (Compound != nullptr) Identifier = Compound->Identifier;
  } else if (kind == TYPE_FUNCTION) {
    if (auto* function = NodeCast<TFunctionNode>(reference)) {
      TFunctionTypeParts& parts = EditSignature();
      parts.FunctionNode = function;
      parts.ReturnType = function->ReturnDatatype;
      parts.ParameterCount = function->ParameterCount;
      parts.Parameters.assign(static_cast<size_t>(parts.ParameterCount), nullptr);
      parts.Identifiers.assign(static_cast<size_t>(parts.ParameterCount), std::string());
      for (int32_t i = 0; i < parts.ParameterCount; ++i) {
        if (TVariableDeclNode* parameter = function->GetParameter(i)) {
          parts.Parameters[static_cast<size_t>(i)] = parameter->Datatype;
          parts.Identifiers[static_cast<size_t>(i)] = parameter->Identifier;
        }
      }
    }
  } else if (kind == TYPE_POINTER) {
    NestedType = NodeCast<TDatatype>(reference);
  } else if (kind == TYPE_ARRAY) {
    Identifier = "Array";
    NestedType = NodeCast<TDatatype>(reference);
  }
  SetupChildren();
  return this;
}

const TFunctionTypeParts TDatatype::NoParts;

TFunctionTypeParts& TDatatype::EditSignature() {
  if (Parts == nullptr) Parts = new TFunctionTypeParts();
  return *Parts;
}

int TDatatype::SetupChildren() {
  if (NestedType != nullptr) AddChildNode(NestedType);
  if (ReturnType() != nullptr) AddChildNode(ReturnType());
  if (Signature().ParameterCount != 0) AddChildNodeArray(Parts->Parameters);
  return 0;
}

TDatatype* TDatatype::Copy() {
  if (IsFunction()) Abort("Not yet implemented", this);
  TNodeOrigin origin(this);
  TASTNode* reference = nullptr;
  if (IsCompound()) reference = Compound;
  if (IsPointer() || IsArray()) reference = NestedType;
  TDatatype* copy = ActiveTarget->CreateDatatype()->Create(FullKind(this), reference, Dimension);
  // A class type not resolved yet keeps the name it will be resolved by.
  if (IsCompound() && Compound == nullptr) copy->Identifier = Identifier;
  return copy;
}

int32_t TDatatype::Emit(int32_t kind, int32_t reference, int32_t extra) {
  if (extra == 0 && IsSharedKind(kind)) return Shared(kind)->TableID;
  TDatatype* type = ActiveTarget->CreateDatatype();
  type->TypeKind = kind;
  if (kind == TYPE_POINTER || kind == TYPE_ARRAY) {
    type->Dimension = extra;
    type->NestedType = NodeCast<TDatatype>(HandleToNode(reference));
    if (kind == TYPE_ARRAY) type->Identifier = "Array";
  } else if (kind == TYPE_FUNCTION) {
    // extra names the list of parameter declarations here, not a dimension.
    TFunctionTypeParts& parts = type->EditSignature();
    parts.ReturnType = NodeCast<TDatatype>(HandleToNode(reference));
    std::vector<TVariableDeclNode*> parameters =
        NodesOfList<TVariableDeclNode>(TakeList(extra));
    parts.ParameterCount = static_cast<int32_t>(parameters.size());
    for (TVariableDeclNode* parameter : parameters) {
      parts.Parameters.push_back(parameter->Datatype);
      parts.Identifiers.push_back(parameter->Identifier);
      parts.ParamValues.push_back(parameter->Value);
      if (parameter->Value == nullptr) ++parts.MandatoryParamCount;
      // The declaration only carried these; its type now belongs to the function type. A
      // default value stays where it is until the function takes it.
      if (parameter->Value == nullptr) TakeNode(parameter->TableID);
    }
  } else {
    type->Dimension = extra;
    if (IsUnsignedKind(kind)) {
      type->TypeKind = kind - tok::UNSIGNED_OFFSET;
      type->IsUnsigned = 1;
    }
  }
  type->SetupChildren();
  return type->TableID;
}

int32_t TDatatype::Emit(int32_t kind, TName name, int32_t extra) {
  if (kind != TYPE_COMPOUND) return Emit(kind, -1, extra);
  TDatatype* type = ActiveTarget->CreateDatatype();
  type->TypeKind = TYPE_COMPOUND;
  type->Dimension = extra;
  type->Identifier = name;
  // There is no keyword for strings: a class type named String in any letter case is one.
  if (type->Identifier.Lower() == "string") type->TypeKind = TYPE_STRING;
  type->SetupChildren();
  return type->TableID;
}

}  // namespace zintrel
