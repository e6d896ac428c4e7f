#include "modules/DependencyNode.h"

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

}  // namespace zintrel
