#pragma once
// A class declaration: name, parents (multiple inheritance), members and flags.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/ASTNode.h"
#include "support/Name.h"
#include "support/NameTable.h"

namespace zintrel {

class TClassNode;
class TDependencyNode;
class TFunctionNode;
class TVariableDeclNode;

// A parent named in Extends: the name as written until the parent is resolved, then the class.
struct TClassParent {
  std::string Name;
  TClassNode* Class = nullptr;
};

class TClassNode : public TASTNode {
  ZINTREL_NODE_CLASS_BIT(TClassNode, NC_CLASS)
 public:
  TName Identifier;
  std::vector<TClassParent> ClassParents;
  std::vector<TClassNode*> ClassChildren;
  TDependencyNode* Dependencies = nullptr;
  int32_t CheckingSignature = 0;
  std::vector<TVariableDeclNode*> Variables;
  TScope* IntermediateScope = nullptr;
  std::vector<TFunctionNode*> Methods;
  std::vector<TFunctionNode*> Functions;
  TFunctionNode* Constructor = nullptr;
  std::vector<TFunctionNode*> AbstractFunctions;
  int32_t AbstractFlag = 0;
  int32_t AbstractChecked = 0;
  int32_t IsFinal = 0;
  int32_t CycleColor = 0;
  int32_t OnCyclePath = 0;  // set while the cycle check walks through the class

  // Set once the class's ancestors are recorded as used by some file or class; changing its
  // parents then moves ParentsGeneration on, which makes every such walk be done again.
  int32_t AncestorsWalked = 0;
  static int64_t ParentsGeneration;
  void ParentsChanging();

  // The visibility given to new declarations; Public at the start of every class body.
  static int32_t CurrentVisibility;

  TClassNode();
  std::string GetName() const override { return "TClassNode"; }
  int CheckCorrectness(TScope* scope) override;
  void VisitNodeFields(TNodeFieldVisitor& visitor) override;
  // While the signature is checked, uses are also recorded against the class.
  int AddDependency(TASTNode* dependency, TASTNode* user) override;
  bool KeepsDependencies() const override { return true; }

  int IsAbstract();
  int ResolveParents(TScope* scope);
  int CheckSignatureCorrectness(TScope* scope);
  int InsertMember(TScope* scope, TVariableDeclNode* declaration, int32_t isMethod);

  int SetupChildren();
  // 1 when the class is a direct or indirect parent of this one.
  int HasParent(const TClassNode* parent) const;
  // The member of that name (compared ignoring case), inherited ones included; the static view
  // skips fields and methods. Null when there is none.
  TVariableDeclNode* FindMember(const TName& name, int32_t isStatic);
  std::string GenerateConstructorIdentifier() const { return "__Create" + Identifier; }
  // Dependency records (defined with the record writer and reader): appends the class block's
  // lines; reads the class line back (null when malformed).
  int ToStream(std::vector<std::string>& lines) const;
  TClassNode* FromString(std::string_view line);

  static int32_t SetVisibility(int32_t visibility);

 private:
  // First members of each kind by folded name, built on the first lookup.
  struct TMemberSlots {
    TVariableDeclNode* StaticVariable = nullptr;
    TVariableDeclNode* Variable = nullptr;
    TVariableDeclNode* Method = nullptr;
    TVariableDeclNode* Function = nullptr;
  };
  TNameTable<TMemberSlots>* MemberIndex = nullptr;
  TVariableDeclNode* FindOwnMember(const TName& key, int32_t isStatic);
  // Answers of one search for one name, by class. With answers given, known answers are used
  // but new ones are kept there instead of in the class.
  using TMemberAnswers = std::unordered_map<const TClassNode*, TVariableDeclNode*>;
  TVariableDeclNode* FindMemberByKey(const TName& name, const TName& key, int32_t isStatic,
                                     TMemberAnswers* answers);
  TVariableDeclNode* FindMemberUncached(const TName& name, const TName& key, int32_t isStatic,
                                        TMemberAnswers* answers);
  // Answers of FindMember by folded name, for the instance and the static view, kept by
  // every class: in a hierarchy of diamonds every path would otherwise be searched again,
  // exponentially often, and in a long chain of single parents every lookup would walk it all.
  // An ambiguity ends the build before anything is kept.
  TNameTable<TVariableDeclNode*>* FoundMembers[2] = {nullptr, nullptr};

 public:
  // Creation by the parser: the name, the list of parent names (or -1), the member list and
  // the flags (bit 0 Abstract, bit 1 Final).
  static int32_t Emit(TName name, int32_t parents, int32_t body, int32_t flags);
};

}  // namespace zintrel
