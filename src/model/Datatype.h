#pragma once
// The type of every declaration and expression: scalars, strings, class types, pointers, arrays
// and function types, told apart by a kind code shared with the grammar.
#include <string>
#include <string_view>
#include <vector>

#include "frontend/Tokens.h"
#include "model/ASTNode.h"
#include "support/Name.h"

namespace zintrel {

class TClassNode;
class TFunctionNode;
class TExpressionNode;

// Kind codes, the token codes of the datatype kinds.
enum : int32_t {
  TYPE_ANY = tok::TYPE_ANY,
  TYPE_BYTE = tok::TYPE_BYTE,
  TYPE_SHORT = tok::TYPE_SHORT,
  TYPE_INT = tok::TYPE_INT,
  TYPE_LONG = tok::TYPE_LONG,
  TYPE_FLOAT = tok::TYPE_FLOAT,
  TYPE_DOUBLE = tok::TYPE_DOUBLE,
  TYPE_STRING = tok::TYPE_STRING,
  TYPE_UBYTE = tok::TYPE_UBYTE,
  TYPE_USHORT = tok::TYPE_USHORT,
  TYPE_UINT = tok::TYPE_UINT,
  TYPE_ULONG = tok::TYPE_ULONG,
  TYPE_COMPOUND = tok::TYPE_COMPOUND,
  TYPE_FUNCTION = tok::TYPE_FUNCTION,
  TYPE_BOOL = tok::TYPE_BOOL,
  TYPE_VOID = tok::TYPE_VOID,
  TYPE_POINTER = tok::TYPE_POINTER,
  TYPE_ARRAY = tok::TYPE_ARRAY,
};

class TDatatype;

// What only a function type has: its return type, the function it was made from, and its
// parameters' names, types and default values.
struct TFunctionTypeParts {
  TDatatype* ReturnType = nullptr;
  TFunctionNode* FunctionNode = nullptr;
  int32_t ParameterCount = 0;
  int32_t MandatoryParamCount = 0;
  std::vector<std::string> Identifiers;
  std::vector<TDatatype*> Parameters;
  std::vector<TExpressionNode*> ParamValues;
};

class TDatatype : public TASTNode {
  ZINTREL_NODE_CLASS(TDatatype, NC_DATATYPE)

 public:
  int32_t TypeKind = 0;
  int32_t IsUnsigned = 0;
  TName Identifier;
  TClassNode* Compound = nullptr;
  TDatatype* NestedType = nullptr;
  int32_t Dimension = 0;

 private:
  bool SharedKind = false;
  // Made when a function type's parameters are set: most types are not function types.
  TFunctionTypeParts* Parts = nullptr;

 public:
  // The parameters of a function type; none for the other kinds.
  const TFunctionTypeParts& Signature() const { return Parts != nullptr ? *Parts : NoParts; }
  // A function type's return type and function; null for the other kinds.
  TDatatype* ReturnType() const { return Signature().ReturnType; }
  TFunctionNode* FunctionNode() const { return Signature().FunctionNode; }
  // The same, to be set.
  TFunctionTypeParts& EditSignature();
  static const TFunctionTypeParts NoParts;

  ~TDatatype() override { delete Parts; }
  std::string GetName() const override { return "TDatatype"; }
  // Resolves class, string and array types in the scope and records the dependency on the
  // class; rejects a Void that is neither a return type nor a pointer target.
  int CheckCorrectness(TScope* scope) override;
  // The same for this level alone, without the nested, return or parameter types: for a type
  // built around a type that is checked already (the element type of an array literal).
  int ResolveClass(TScope* scope);
  // The textual form used in messages and dependency records: "UInt", "Byte Ptr", "Int[,]",
  // "Int(a:Int, b:String)", the class name, "Null".
  std::string ToString() const override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;

  // C++ text of the type's default value.
  virtual std::string GenerateAutoValue(const std::string& text) = 0;

  bool IsAny() const { return TypeKind == TYPE_ANY; }
  bool IsVoid() const { return TypeKind == TYPE_VOID; }
  bool IsPointer() const { return TypeKind == TYPE_POINTER; }
  bool IsVoidPointer() const {
    return IsPointer() && NestedType != nullptr && NestedType->IsVoid();
  }
  bool IsInteger() const {
    return TypeKind == TYPE_BOOL || TypeKind == TYPE_BYTE || TypeKind == TYPE_SHORT ||
           TypeKind == TYPE_INT || TypeKind == TYPE_LONG;
  }
  bool IsReal() const { return TypeKind == TYPE_FLOAT || TypeKind == TYPE_DOUBLE; }
  bool IsNumeric() const { return IsInteger() || IsReal(); }
  bool IsCompound() const { return TypeKind == TYPE_COMPOUND; }
  bool IsString() const { return TypeKind == TYPE_STRING; }
  bool IsFunction() const { return TypeKind == TYPE_FUNCTION; }
  bool IsArray() const { return TypeKind == TYPE_ARRAY; }
  bool IsBoolean() const { return TypeKind == TYPE_BOOL; }

  // 1 when the types differ; Null equals every type, signedness counts, class types compare by
  // class node, function types by method flag, return type and parameter types.
  int IsUnequal(const TDatatype* other) const;
  // 1 when a value of this type may be used where target is expected without a cast.
  int IsCastable(const TDatatype* target) const;
  // 1 when an explicit cast to target is allowed.
  int IsExplicitCastable(const TDatatype* target) const;

  // Builds the type from parts: a class node for class types, a function node for function
  // types, the nested type for pointers and arrays. Returns this datatype.
  TDatatype* Create(int32_t kind, TASTNode* reference, int32_t dimension);
  int SetupChildren();
  // A new datatype of the same kind; nested and class references are shared.
  TDatatype* Copy();
  // Reads the textual form written by ToString (dependency records); marks the type compiled.
  // Returns this datatype.
  TDatatype* FromString(std::string_view text);

  // The one datatype of a built-in value kind (Bool, Null, and the integer and real kinds, signed
  // or unsigned): the results of literals and operators share it instead of making one each. It
  // belongs to no tree, has no location, and taking it as a child leaves its parent unset. Other
  // kinds get a new datatype.
  static TDatatype* Shared(int32_t kind);
  // The same for the String type of string literals: one per String class it names (null for
  // the type a literal has until it is checked, which names none yet).
  static TDatatype* SharedString(TClassNode* stringClass);
  bool IsShared() const { return SharedKind; }
  int SetParentNode(TASTNode* parent) override;

  // The common type of the operands of an arithmetic or comparison operator; null when there is
  // none (a class type against anything but Null).
  static TDatatype* Promote(TDatatype* a, TDatatype* b);

  // Creation by the parser: for TYPE_COMPOUND the class name, else the handle of the nested or
  // return type (or -1); extra is the dimension count of an array or the handle of a function
  // type's parameter declaration list.
  static int32_t Emit(int32_t kind, int32_t reference, int32_t extra);
  static int32_t Emit(int32_t kind, TName name, int32_t extra);
};

// The type's textual form for messages; "" for an absent type.
std::string TypeText(const TDatatype* type);

}  // namespace zintrel
