#include "modules/DependencyNode.h"

#include <algorithm>
#include <unordered_set>

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

TASTNode* TUseMap::Record(TASTNode* declaration, TASTNode* user) {
  const auto [at, added] = Index.try_emplace(declaration, static_cast<uint32_t>(Entries.size()));
  if (at != nullptr && !added) {
    TASTNode*& kept = Entries[*at].second;
    if (kept != nullptr && kept->IsExtern) kept = user;
    return kept;
  }
  Entries.emplace_back(declaration, user);
  InOrder = false;
  return user;
}

const std::vector<TUseMap::value_type>& TUseMap::Ordered() const {
  if (!InOrder) {
    std::sort(Entries.begin(), Entries.end(), [](const value_type& a, const value_type& b) {
      return a.first->TableID < b.first->TableID;
    });
    // The same keys at new places: the index keeps its table and only learns the places.
    for (size_t i = 0; i < Entries.size(); ++i)
      *Index.find(Entries[i].first) = static_cast<uint32_t>(i);
    InOrder = true;
  }
  return Entries;
}

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
  auto* owner = NodeCast<TClassNode>(dependency);
  if (owner == nullptr || AncestorsRecorded(owner)) return;
  // Classes whose ancestors are recorded already are not walked again: in a long chain of
  // single parents each use would otherwise walk the whole chain.
  std::vector<TClassNode*> pending{owner};
  std::vector<TClassNode*> walked{owner};
  std::unordered_set<TClassNode*> seen{owner};
  bool settled = true;
  while (!pending.empty()) {
    TClassNode* c = pending.back();
    pending.pop_back();
    for (const TClassParent& parent : c->ClassParents) {
      if (parent.Class == nullptr || parent.Class->IsExtern || !seen.insert(parent.Class).second)
        continue;
      if (!RecordOneUse(parent.Class, user)) settled = false;
      walked.push_back(parent.Class);
      if (!AncestorsRecorded(parent.Class)) pending.push_back(parent.Class);
    }
  }
  // A later use changes nothing above these classes once each record there has its final user.
  if (!settled) return;
  for (TClassNode* c : walked) {
    AncestorsDone[c] = TClassNode::ParentsGeneration;
    c->AncestorsWalked = 1;
  }
}

bool TDependencyNode::AncestorsRecorded(const TClassNode* c) const {
  auto found = AncestorsDone.find(c);
  return found != AncestorsDone.end() && found->second == TClassNode::ParentsGeneration;
}

bool TDependencyNode::RecordOneUse(TASTNode* dependency, TASTNode* user) {
  if (dependency == nullptr || dependency->Root() == nullptr) return false;
  TDependencyNode* key = dependency->Root()->Dependencies;
  if (key == nullptr) return false;
  // Of a file's own declarations, its classes alone are read back from its record (they are
  // declared ahead in its source); its locals, functions and globals are not kept.
  if (key == this && NodeCast<TClassNode>(dependency) == nullptr) return true;
  if (Settled.contains(dependency)) return true;
  const TASTNode* kept = UsesOf(key).Record(dependency, user);
  // Only an extern user gives way to a later one.
  const bool settled = kept == nullptr || !kept->IsExtern;
  if (settled) Settled.insert(dependency);
  return settled;
}

}  // namespace zintrel
