#include "model/ProgramNode.h"

#include "frontend/Bridge.h"
#include "model/NodeFactory.h"
#include "model/ClassNode.h"
#include "model/FunctionNode.h"
#include "model/Scope.h"
#include "model/VariableDeclNode.h"
#include "modules/DependencyNode.h"

namespace zintrel {

TProgramNode::TProgramNode() {
  ZINTREL_ADD_CLASS_BIT();
  Dependencies = (new TDependencyNode())->Create(SourceFile(), nullptr);
}

namespace {

// The file a top-level item belongs to: the merged program's items hang below their own file's
// root; a module's root is checked directly.
TASTNode* FileRootOf(TASTNode* item, TProgramNode* program) {
  TProgramNode* root = EnclosingNode<TProgramNode>(item);
  return root != nullptr ? root : program;
}

// Sets the dependency context for the check of one top-level item.
class TItemContext {
 public:
  TItemContext(TASTNode* item, TProgramNode* program) : Saved(TASTNode::DependencyRoot) {
    TASTNode::DependencyRoot = FileRootOf(item, program);
  }
  ~TItemContext() { TASTNode::DependencyRoot = Saved; }

 private:
  TASTNode* Saved;
};

}  // namespace

int TProgramNode::CheckCorrectness(TScope* scope) {
  TNodeOrigin::TCheck check;
  for (TClassNode* c : Classes)
    if (!scope->Insert(c->Identifier, c)) Abort("Redefinition of '" + c->Identifier + "'", c);

  // Constants come first, in source order, so that everything after may use them.
  for (TStatementNode* statement : Statements) {
    auto* declaration = NodeCast<TVariableDeclNode>(statement);
    if (declaration != nullptr && declaration->DeclKind == DECL_CONST) {
      TItemContext context(declaration, this);
      declaration->CheckCorrectness(scope);
    }
  }
  for (TStatementNode* statement : Statements) {
    auto* declaration = NodeCast<TVariableDeclNode>(statement);
    if (declaration == nullptr) continue;
    TItemContext context(declaration, this);
    declaration->CheckSignatureCorrectness(scope);
    if (declaration->DeclKind == DECL_GLOBAL && !scope->Insert(declaration->Identifier, declaration))
      Abort("Redefinition of '" + declaration->Identifier + "'", declaration);
  }
  for (TFunctionNode* f : Functions) {
    TItemContext context(f, this);
    f->CheckSignatureCorrectness(scope);
    if (!scope->Insert(f->Identifier, f->Declaration))
      Abort("Redefinition of '" + f->Identifier + "'", f);
  }

  for (TClassNode* c : Classes) {
    TItemContext context(c, this);
    c->ResolveParents(scope);
  }
  for (TClassNode* c : Classes) {
    if (c->CycleColor != 0) continue;
    c->CycleColor = c->TableID;
    if (CheckInheritanceCycles(c)) Abort("Cyclic class inheritance", c);
  }
  for (TClassNode* c : Classes) {
    TItemContext context(c, this);
    c->CheckSignatureCorrectness(scope);
  }
  for (TClassNode* c : Classes) {
    TItemContext context(c, this);
    c->CheckCorrectness(scope);
  }
  FunctionBodiesChecked(0);
  for (size_t i = 0; i < Functions.size(); ++i) {
    TItemContext context(Functions[i], this);
    Functions[i]->CheckCorrectness(scope);
    FunctionBodiesChecked(i + 1);
  }

  // Program-level statements last: their locals are not visible to functions and classes.
  for (TStatementNode* statement : Statements) {
    auto* declaration = NodeCast<TVariableDeclNode>(statement);
    if (declaration != nullptr && declaration->DeclKind == DECL_CONST) continue;
    TItemContext context(statement, this);
    statement->CheckCorrectness(scope);
  }
  return 0;
}

namespace {

// Depth-first walk over the parents. Classes coloured by an earlier walk, or finished earlier in
// this one, are not entered again; only a class on the current path closes a cycle. (Two parents
// sharing an ancestor, as every pair sharing Object does, are no cycle.)
bool ReachesOwnPath(TClassNode* c, int32_t color) {
  TASTNode::GuardStack(c);
  c->OnCyclePath = 1;
  for (TClassParent& entry : c->ClassParents) {
    TClassNode* parent = entry.Class;
    if (parent == nullptr) continue;
    if (parent->OnCyclePath) return true;
    if (parent->CycleColor != 0) continue;
    parent->CycleColor = color;
    if (ReachesOwnPath(parent, color)) return true;
  }
  c->OnCyclePath = 0;
  return false;
}

}  // namespace

int TProgramNode::CheckInheritanceCycles(TClassNode* c) {
  return ReachesOwnPath(c, c->CycleColor) ? 1 : 0;
}

int TProgramNode::AddDependency(TASTNode* dependency, TASTNode* user) {
  if (Dependencies != nullptr) Dependencies->RecordUse(dependency, user);
  return 0;
}

void TProgramNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TASTNode::VisitNodeFields(visitor);
  visitor(Statements);
  visitor(Functions);
  visitor(Classes);
}

int TProgramNode::SetupChildren() {
  AddChildNodeList(Classes);
  AddChildNodeList(Functions);
  AddChildNodeList(Statements);
  return 0;
}

int TProgramNode::Merge(const TProgramNode* other) {
  if (other == nullptr) return 0;
  Statements.insert(Statements.end(), other->Statements.begin(), other->Statements.end());
  Functions.insert(Functions.end(), other->Functions.begin(), other->Functions.end());
  Classes.insert(Classes.end(), other->Classes.begin(), other->Classes.end());
  Libraries.insert(Libraries.end(), other->Libraries.begin(), other->Libraries.end());
  return 0;
}

namespace {

TProgramNode* RootOf(int32_t handle) { return NodeCast<TProgramNode>(HandleToNode(handle)); }

}  // namespace

int32_t TProgramNode::Emit() {
  TProgramNode* root = ActiveTarget->CreateProgramNode();
  CommonRoot = root;
  return root->TableID;
}

int32_t TProgramNode::EmitProgramFileImport(int32_t root, TName text) {
  if (TProgramNode* r = RootOf(root)) r->FileImports.push_back(text.str());
  return root;
}

int32_t TProgramNode::EmitProgramModuleImport(int32_t root, std::string* text) {
  std::string import = TakeCString(text);
  if (TProgramNode* r = RootOf(root)) r->ModuleImports.push_back(std::move(import));
  return root;
}

int32_t TProgramNode::EmitProgramGlobal(int32_t root, int32_t list) {
  TProgramNode* r = RootOf(root);
  TList* items = TakeList(list);
  if (r == nullptr || items == nullptr) return root;
  r->AddChildNodeList(items);
  std::vector<TStatementNode*> statements = NodesOfList<TStatementNode>(items);
  r->Statements.insert(r->Statements.end(), statements.begin(), statements.end());
  return root;
}

int32_t TProgramNode::EmitProgramStatement(int32_t root, int32_t statement) {
  TProgramNode* r = RootOf(root);
  if (r == nullptr) return root;
  if (TASTNode* node = HandleToNode(statement)) {
    r->AddChildNode(node);
    if (TStatementNode* s = NodeCast<TStatementNode>(node)) r->Statements.push_back(s);
    return root;
  }
  return EmitProgramGlobal(root, statement);
}

int32_t TProgramNode::EmitProgramFunction(int32_t root, int32_t function) {
  TProgramNode* r = RootOf(root);
  TFunctionNode* f = NodeCast<TFunctionNode>(HandleToNode(function));
  if (r == nullptr || f == nullptr) return root;
  r->AddChildNode(f);
  r->Functions.push_back(f);
  return root;
}

int32_t TProgramNode::EmitProgramClass(int32_t root, int32_t classNode) {
  TProgramNode* r = RootOf(root);
  TClassNode* c = NodeCast<TClassNode>(HandleToNode(classNode));
  if (r == nullptr || c == nullptr) return root;
  r->AddChildNode(c);
  r->Classes.push_back(c);
  return root;
}

int32_t TProgramNode::EmitProgramExtern(int32_t root, int32_t list) {
  TProgramNode* r = RootOf(root);
  TList* items = TakeList(list);
  if (r == nullptr || items == nullptr) return root;
  for (TObject* item : items->Items) {
    if (item == nullptr || item->ObjectKind != TObject::Kind::Node) continue;
    TASTNode* node = static_cast<TASTNode*>(item);
    r->AddChildNode(node);
    node->SetExtern();
    if (auto* declaration = NodeCast<TVariableDeclNode>(node)) {
      r->Statements.push_back(declaration);
    } else if (auto* c = NodeCast<TClassNode>(node)) {
      r->Classes.push_back(c);
    } else if (auto* f = NodeCast<TFunctionNode>(node)) {
      r->Functions.push_back(f);
    }
  }
  return root;
}

}  // namespace zintrel
