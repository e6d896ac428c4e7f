#include "model/ProgramNode.h"

#include "frontend/Bridge.h"
#include "frontend/Target.h"
#include "model/ClassNode.h"
#include "model/FunctionNode.h"
#include "model/VariableDeclNode.h"

namespace zintrel {

int TProgramNode::CheckCorrectness(TScope*) { return 0; }

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

TProgramNode* RootOf(int32_t handle) { return dynamic_cast<TProgramNode*>(HandleToNode(handle)); }

}  // namespace

int32_t TProgramNode::Emit() {
  TProgramNode* root = ActiveTarget->CreateProgramNode();
  CommonRoot = root;
  return root->TableID;
}

int32_t TProgramNode::EmitProgramFileImport(int32_t root, std::string* text) {
  std::string import = TakeCString(text);
  if (TProgramNode* r = RootOf(root)) r->FileImports.push_back(std::move(import));
  return root;
}

int32_t TProgramNode::EmitProgramModuleImport(int32_t root, std::string* text) {
  std::string import = TakeCString(text);
  if (TProgramNode* r = RootOf(root)) r->ModuleImports.push_back(std::move(import));
  return root;
}

int32_t TProgramNode::EmitProgramGlobal(int32_t root, int32_t list) {
  TProgramNode* r = RootOf(root);
  TList* items = HandleToList(list);
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
    if (TStatementNode* s = dynamic_cast<TStatementNode*>(node)) r->Statements.push_back(s);
    return root;
  }
  return EmitProgramGlobal(root, statement);
}

int32_t TProgramNode::EmitProgramFunction(int32_t root, int32_t function) {
  TProgramNode* r = RootOf(root);
  TFunctionNode* f = dynamic_cast<TFunctionNode*>(HandleToNode(function));
  if (r == nullptr || f == nullptr) return root;
  r->AddChildNode(f);
  r->Functions.push_back(f);
  return root;
}

int32_t TProgramNode::EmitProgramClass(int32_t root, int32_t classNode) {
  TProgramNode* r = RootOf(root);
  TClassNode* c = dynamic_cast<TClassNode*>(HandleToNode(classNode));
  if (r == nullptr || c == nullptr) return root;
  r->AddChildNode(c);
  r->Classes.push_back(c);
  return root;
}

int32_t TProgramNode::EmitProgramExtern(int32_t root, int32_t list) {
  TProgramNode* r = RootOf(root);
  TList* items = HandleToList(list);
  if (r == nullptr || items == nullptr) return root;
  for (TObject* item : items->Items) {
    if (item == nullptr || item->ObjectKind != TObject::Kind::Node) continue;
    TASTNode* node = static_cast<TASTNode*>(item);
    r->AddChildNode(node);
    node->SetExtern();
    if (auto* declaration = dynamic_cast<TVariableDeclNode*>(node)) {
      r->Statements.push_back(declaration);
    } else if (auto* c = dynamic_cast<TClassNode*>(node)) {
      r->Classes.push_back(c);
    } else if (auto* f = dynamic_cast<TFunctionNode*>(node)) {
      r->Functions.push_back(f);
    }
  }
  return root;
}

}  // namespace zintrel
