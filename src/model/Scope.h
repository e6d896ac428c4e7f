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
#include "support/NameTable.h"

namespace zintrel {

class TASTNode;
class TClassNode;

// The names of one scope, folded, with their declarations, in insertion order.
using TNameMap = TNameTable<TASTNode*>;

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
