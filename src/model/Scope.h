#pragma once
// Name scopes. Names are case-insensitive: keys are stored lower-cased and every lookup
// lower-cases the name it is given. The first declaration of a name in a scope stays.
#include <string>
#include <string_view>
#include <unordered_map>

#include "frontend/NodeTable.h"

namespace zintrel {

class TASTNode;
class TClassNode;

// Looks names up by their text, without making a std::string of them.
struct TNameHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};
using TNameMap = std::unordered_map<std::string, TASTNode*, TNameHash, std::equal_to<>>;

// Scopes, like nodes, live until the process ends.
class TScope : public TForever {
 public:
  TNameMap Nodes;
  TScope* Parent = nullptr;

  TScope() = default;
  virtual ~TScope() = default;
  // The declaration of the name here or in an enclosing scope; null when there is none.
  virtual TASTNode* Find(std::string_view name);
  // 1 when the name was added, 0 when this very scope already has it (the first stays).
  virtual int Insert(std::string_view name, TASTNode* node);
  TScope* Create(TScope* parent);
  TScope* Copy() const;
  static int SafeInsert(TNameMap& map, std::string key, TASTNode* node);

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
  TASTNode* Find(std::string_view name) override;
  TClassScope* CreateClassScope(TScope* parent, TClassNode* compound, int32_t isStatic);
};

}  // namespace zintrel
