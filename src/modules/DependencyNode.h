#pragma once
// A node of the dependency graph: one per source file and one per module. Every use of a
// declaration during the semantic check is recorded against the node of the file or module
// that declares it.
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/ASTNode.h"
#include "support/PointerSet.h"

namespace zintrel {

class TClassNode;
class TModule;
class TDependencyNode;

// Maps keyed by node identity; identity is ordered by creation, so walks over the maps (and the
// files written from them) come out the same on every run.
struct TByTableID {
  bool operator()(const TASTNode* a, const TASTNode* b) const { return a->TableID < b->TableID; }
};
struct TBySequence {
  bool operator()(const TDependencyNode* a, const TDependencyNode* b) const;
};

// Like the nodes that own them, dependency nodes live until the process ends: a module's root
// takes the module's node in place of its own, and neither is ever freed.
class TDependencyNode : public TForever {
 public:
  // The declarations of one file used by another, each with its (first non-extern) user.
  using TUseMap = std::map<TASTNode*, TASTNode*, TByTableID>;

  std::string CodePath;
  TModule* SourceModule = nullptr;
  int32_t IsModule = 0;
  std::map<TDependencyNode*, TUseMap, TBySequence> Dependencies;
  const int64_t Sequence;
  // Files named by the record of a root rebuilt from it, until the driver has found their roots
  // and entered their nodes as keys.
  std::vector<std::string> PathKeys;

  TDependencyNode();
  TDependencyNode* Create(std::string codePath, TModule* module);
  // The use map under a key, made empty when the key is new.
  TUseMap& UsesOf(TDependencyNode* key) { return Dependencies[key]; }
  bool Contains(TDependencyNode* key) const { return Dependencies.count(key) != 0; }
  // Records that user refers to the declaration, under the node of the file declaring it; the
  // first non-extern user is kept.
  void RecordUse(TASTNode* dependency, TASTNode* user);

 private:
  // True when the record has its final user.
  bool RecordOneUse(TASTNode* dependency, TASTNode* user);
  // True when the class and all its program ancestors have records with their final users,
  // made while the parents of the classes were as they are now.
  bool AncestorsRecorded(const TClassNode* c) const;
  std::unordered_map<const TClassNode*, int64_t> AncestorsDone;
  // The declarations whose records have their final user: a later use of one changes nothing,
  // and is settled by one hash lookup instead of a walk down the ordered maps.
  TPointerSet Settled;
};

}  // namespace zintrel
