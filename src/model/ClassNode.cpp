#include "model/ClassNode.h"

#include "driver/Paths.h"
#include "frontend/Bridge.h"
#include "frontend/Target.h"
#include "model/FunctionNode.h"
#include "model/VariableDeclNode.h"

namespace zintrel {

int32_t TClassNode::CurrentVisibility = 0;

int TClassNode::CheckCorrectness(TScope*) { return 0; }

void TClassNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TASTNode::VisitNodeFields(visitor);
  visitor(Constructor);
}

int TClassNode::SetupChildren() {
  if (Constructor != nullptr) AddChildNode(Constructor);
  AddChildNodeList(Variables);
  AddChildNodeList(Methods);
  AddChildNodeList(Functions);
  return 0;
}

int TClassNode::HasParent(const TClassNode* parent) const {
  for (const TClassParent& entry : ClassParents)
    if (entry.Class != nullptr && (entry.Class == parent || entry.Class->HasParent(parent)))
      return 1;
  return 0;
}

TVariableDeclNode* TClassNode::FindMember(std::string_view, int32_t) { return nullptr; }

int32_t TClassNode::SetVisibility(int32_t visibility) {
  CurrentVisibility = visibility;
  return 0;
}

int32_t TClassNode::Emit(std::string* name, int32_t parents, int32_t body, int32_t flags) {
  TClassNode* c = ActiveTarget->CreateClassNode();
  c->Identifier = TakeCString(name);
  if (TList* names = HandleToList(parents)) {
    for (TObject* item : names->Items)
      if (item != nullptr && item->ObjectKind == TObject::Kind::String)
        c->ClassParents.push_back(TClassParent{static_cast<TStringObject*>(item)->Value, nullptr});
  }
  c->AbstractFlag = flags & 1;
  c->IsFinal = (flags >> 1) & 1;
  TList* members = HandleToList(body);
  for (TVariableDeclNode* variable : NodesOfList<TVariableDeclNode>(members))
    c->Variables.push_back(variable);
  const std::string lowerName = ToLower(c->Identifier);
  for (TFunctionNode* function : NodesOfList<TFunctionNode>(members)) {
    if (ToLower(function->Identifier) == lowerName) {
      // With several members named like the class, the last one is the constructor.
      c->Constructor = function;
      function->TransformToConstructor(c);
    } else if (function->IsMethod) {
      c->Methods.push_back(function);
    } else {
      c->Functions.push_back(function);
    }
  }
  c->SetupChildren();
  SetVisibility(VISIBILITY_PUBLIC);
  return c->TableID;
}

}  // namespace zintrel
