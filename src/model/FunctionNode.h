#pragma once
// A function (program-level or class function), a method, or a constructor.
#include <string>
#include <string_view>
#include <vector>

#include "model/ASTNode.h"
#include "support/Name.h"

namespace zintrel {

class TClassNode;
class TDatatype;
class TStatementList;
class TVariableDeclNode;

class TFunctionNode : public TASTNode {
  ZINTREL_NODE_CLASS(TFunctionNode, NC_FUNCTION)
 public:
  int32_t IsMethod = 0;
  int32_t IsAbstract = 0;
  int32_t IsFinal = 0;
  int32_t IsConstructor = 0;
  TName Identifier;
  TDatatype* Datatype = nullptr;
  TVariableDeclNode* Declaration = nullptr;
  TClassNode* ParentClass = nullptr;
  TDatatype* ReturnDatatype = nullptr;
  std::vector<TVariableDeclNode*> Parameters;
  int32_t ParameterCount = 0;
  TStatementList* Statements = nullptr;

  std::string GetName() const override { return "TFunctionNode"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;

  TVariableDeclNode* GetParameter(int32_t index) const;
  // Return and parameter types, abstractness and the order of optional parameters.
  int CheckSignatureCorrectness(TScope* scope);
  int SetupChildren();
  // Turns the method named like its class into the class's constructor.
  int TransformToConstructor(TClassNode* owner);
  // Dependency records (defined with the record writer and reader): the function's line, and
  // the function read back from one; null when the line is malformed.
  std::string ToString() const override;
  TFunctionNode* FromString(std::string_view line);

  // Creation by the parser: header is a variable expression whose datatype is the function
  // type; body a statement list; flags bit 0 Abstract, bit 1 Final.
  static int32_t Emit(int32_t header, int32_t body, int32_t isMethod, int32_t flags);
};

}  // namespace zintrel
