#include "modules/DependencyNode.h"

#include <set>

#include "model/ClassNode.h"
#include "model/ProgramNode.h"

namespace zintrel {

namespace {
int64_t NextSequence = 0;
}  // namespace

bool TBySequence::operator()(const TDependencyNode* a, const TDependencyNode* b) const {
  return a->Sequence < b->Sequence;
}

TDependencyNode::TDependencyNode() : Sequence(NextSequence++) {}

TDependencyNode* TDependencyNode::Create(std::string codePath, TModule* module) {
  CodePath = std::move(codePath);
  SourceModule = module;
  IsModule = module != nullptr ? 1 : 0;
  return this;
}

void TDependencyNode::RecordUse(TASTNode* dependency, TASTNode* user) {
  RecordOneUse(dependency, user);
  // Code using a class is built against its layout and virtual table, which its ancestors
  // shape too: a file using a class uses every program class above it, so that a change to
  // any of their files compiles the using file again.
  auto* owner = dynamic_cast<TClassNode*>(dependency);
  if (owner == nullptr) return;
  std::vector<TClassNode*> pending{owner};
  std::set<TClassNode*> seen{owner};
  while (!pending.empty()) {
    TClassNode* c = pending.back();
    pending.pop_back();
    for (const TClassParent& parent : c->ClassParents) {
      if (parent.Class == nullptr || parent.Class->IsExtern || !seen.insert(parent.Class).second)
        continue;
      RecordOneUse(parent.Class, user);
      pending.push_back(parent.Class);
    }
  }
}

void TDependencyNode::RecordOneUse(TASTNode* dependency, TASTNode* user) {
  if (dependency == nullptr || dependency->Root == nullptr) return;
  TDependencyNode* key = dependency->Root->Dependencies;
  if (key == nullptr) return;
  TUseMap& uses = UsesOf(key);
  auto found = uses.find(dependency);
  if (found == uses.end()) {
    uses.emplace(dependency, user);
  } else if (found->second != nullptr && found->second->IsExtern) {
    found->second = user;
  }
}

}  // namespace zintrel
