#pragma once
// Name scopes. Names are case-insensitive: keys are the folded (lower-cased) names, and every
// lookup folds the name it is given. The first declaration of a name in a scope stays.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frontend/NodeTable.h"
#include "support/Name.h"

namespace zintrel {

class TASTNode;
class TClassNode;

// The names of one scope, folded, with their declarations, in insertion order. Most scopes hold
// a few names (the locals of a block, the parameters of a function), which are found by
// comparing them one by one (one pointer each); larger ones also keep an open-addressing index.
class TNameMap {
 public:
  using value_type = std::pair<TName, TASTNode*>;
  using iterator = const value_type*;

  iterator begin() const { return Entries.data(); }
  iterator end() const { return Entries.data() + Entries.size(); }
  size_t size() const { return Entries.size(); }
  bool empty() const { return Entries.empty(); }
  // The entry of a folded name.
  iterator find(const TName& key) const;
  // Adds the folded name unless the map has it already; the first declaration stays.
  std::pair<iterator, bool> try_emplace(const TName& key, TASTNode* node);

 private:
  static constexpr size_t LinearLimit = 8;
  static size_t Hash(const TName& key) { return TNameHash{}(key); }
  void Index(uint32_t entry);
  std::vector<value_type> Entries;
  // Entry number + 1 per slot, 0 for a free slot; empty while the map is small.
  std::vector<uint32_t> Slots;
};

// Scopes that nodes keep (those of classes and modules) live until the process ends; those of
// blocks and functions live on the stack while the block is checked.
class TScope : public TForever {
 public:
  TNameMap Nodes;
  TScope* Parent = nullptr;

  TScope() = default;
  virtual ~TScope() = default;
  // The declaration of the name here or in an enclosing scope; null when there is none.
  virtual TASTNode* Find(const TName& name);
  // 1 when the name was added, 0 when this very scope already has it (the first stays).
  virtual int Insert(const TName& name, TASTNode* node);
  TScope* Create(TScope* parent);
  TScope* Copy() const;
  static int SafeInsert(TNameMap& map, const TName& name, TASTNode* node);

 protected:
  // Set by scopes whose Find answers in their own way; plain scopes are walked without calls.
  explicit TScope(bool findsOwnWay) : FindsOwnWay(findsOwnWay) {}
  const bool FindsOwnWay = false;
};

// The scope of a class body: the class's members (inherited ones included) come first, then the
// scope's own declarations and the enclosing scopes. The static view skips fields and methods.
class TClassScope : public TScope {
 public:
  int32_t IsStatic = 0;
  TClassNode* Compound = nullptr;

  TClassScope() : TScope(true) {}
  TASTNode* Find(const TName& name) override;
  TClassScope* CreateClassScope(TScope* parent, TClassNode* compound, int32_t isStatic);
};

}  // namespace zintrel
