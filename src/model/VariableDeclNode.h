#pragma once
// Declarations of one named value (constant, global, local, field, parameter, or the name of a
// function), and statement lists (blocks) that keep their constants apart.
#include <string>
#include <string_view>
#include <vector>

#include "frontend/Tokens.h"
#include "model/ASTNode.h"
#include "support/Name.h"

namespace zintrel {

class TDatatype;
class TExpressionNode;

// Declaration kinds are the token codes of the declaring keywords.
enum : int32_t {
  DECL_FUNCTION = -1,
  DECL_CONST = tok::KEY_CONST,
  DECL_FIELD = tok::KEY_FIELD,
  DECL_GLOBAL = tok::KEY_GLOBAL,
  DECL_LOCAL = tok::KEY_LOCAL,
};

// Visibilities are token codes too.
enum : int32_t {
  VISIBILITY_PRIVATE = tok::KEY_PRIVATE,
  VISIBILITY_PUBLIC = tok::KEY_PUBLIC,
  VISIBILITY_PROTECTED = tok::KEY_PROTECTED,
};

class TVariableDeclNode : public TStatementNode {
  ZINTREL_NODE_CLASS_BIT(TVariableDeclNode, NC_VARIABLE_DECL)
 public:
  // The numbers come in pairs, so that no room is left between the fields.
  int32_t DeclKind = 0;
  int32_t Visibility;  // the current class visibility when the declaration is made
  TName Identifier;
  TDatatype* Datatype = nullptr;
  TExpressionNode* Value = nullptr;
  int32_t CorrectnessChecked = 0;
  // Set once Value has been folded; a constant used many times is folded once.
  int32_t ValueFolded = 0;

  TVariableDeclNode();
  std::string GetName() const override { return "TVariableDeclNode"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;

  // Checks only the declared type.
  int CheckSignatureCorrectness(TScope* scope);
  int SetupChildren();
  TVariableDeclNode* Create(int32_t kind, std::string identifier, TDatatype* datatype,
                            TExpressionNode* value);
  // Dependency records (defined with the record writer and reader): the declaration's line,
  // and the declaration read back from one; null when the line is malformed.
  std::string ToString() const override;
  TVariableDeclNode* FromString(std::string_view line);

  // Creation by the parser from a variable expression "name:type" and an optional value.
  static int32_t Emit(int32_t variable, int32_t value);
  // Sets the kind of every declaration of a declaration statement's list.
  static int32_t ScopeVarDecl(int32_t kind, int32_t list);
};

// A block is a statement too, so that a rewritten statement (a lowered Select) can stand in the
// list it came from.
class TStatementList : public TStatementNode {
 public:
  // Most blocks hold a statement or two: a list of one keeps it in place.
  TForeverList<TVariableDeclNode*> Constants;
  TForeverList<TStatementNode*> Statements;

  std::string GetName() const override { return "TStatementList"; }
  int CheckCorrectness(TScope* scope) override;
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;

  int SetupChildren();
  // A new block holding the statement nodes of a list (other entries are skipped), constants
  // apart. Blocks write their C++ text themselves, so they are not made by the target.
  static TStatementList* Create(const TList* list);
  static TStatementList* Create(const std::vector<TStatementNode*>& statements);
};

}  // namespace zintrel
