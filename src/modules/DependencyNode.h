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

// The declarations of one file used by another, each with its (first non-extern) user. Walks
// go in the order the declarations were made, so the files written from them come out the same
// on every run: entries are appended as they are recorded, and the first walk after a change
// sorts them (and places them anew in the index).
class TUseMap {
 public:
  using value_type = std::pair<TASTNode*, TASTNode*>;
  const value_type* begin() const { return Ordered().data(); }
  const value_type* end() const { return Ordered().data() + Entries.size(); }
  size_t size() const { return Entries.size(); }
  bool empty() const { return Entries.empty(); }
  size_t count(const TASTNode* declaration) const { return Index.find(declaration) ? 1 : 0; }
  // The user kept for the declaration; null when it has none or is not in the map.
  TASTNode* at(const TASTNode* declaration) const {
    const uint32_t* at = Index.find(declaration);
    return at != nullptr ? Entries[*at].second : nullptr;
  }
  // Records the user of the declaration; a user kept already stays unless it is extern.
  // Answers the user kept.
  TASTNode* Record(TASTNode* declaration, TASTNode* user);

 private:
  const std::vector<value_type>& Ordered() const;
  mutable std::vector<value_type> Entries;
  mutable TPointerIndex Index;  // each declaration's place in Entries
  mutable bool InOrder = true;
};

// Dependency nodes are ordered by creation, so walks over them come out the same on every run.
struct TBySequence {
  bool operator()(const TDependencyNode* a, const TDependencyNode* b) const;
};

// Like the nodes that own them, dependency nodes live until the process ends: a module's root
// takes the module's node in place of its own, and neither is ever freed.
class TDependencyNode : public TForever {
 public:
  using TUseMap = zintrel::TUseMap;

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
