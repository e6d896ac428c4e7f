#include "modules/DependencyNode.h"

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
