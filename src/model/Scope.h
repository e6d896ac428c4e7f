#pragma once
// Name scopes. Names are case-insensitive: keys are stored lower-cased and every lookup
// lower-cases the name it is given. The first declaration of a name in a scope stays.
#include <string>
#include <string_view>
#include <unordered_map>

namespace zintrel {

class TASTNode;
class TClassNode;

std::string LowerName(std::string_view name);

class TScope {
 public:
  std::unordered_map<std::string, TASTNode*> Nodes;
  TScope* Parent = nullptr;

  virtual ~TScope() = default;
  // The declaration of the name here or in an enclosing scope; null when there is none.
  TASTNode* Find(std::string_view name) { return FindKey(LowerName(name)); }
  // Find with a name already lower-cased; scopes that answer differently override this.
  virtual TASTNode* FindKey(const std::string& key);
  // 1 when the name was added, 0 when this very scope already has it (the first stays).
  virtual int Insert(std::string_view name, TASTNode* node);
  TScope* Create(TScope* parent);
  TScope* Copy() const;
  static int SafeInsert(std::unordered_map<std::string, TASTNode*>& map, std::string key,
                        TASTNode* node);

};

// The scope of a class body: the class's members (inherited ones included) come first, then the
// scope's own declarations and the enclosing scopes. The static view skips fields and methods.
class TClassScope : public TScope {
 public:
  int32_t IsStatic = 0;
  TClassNode* Compound = nullptr;

  TASTNode* FindKey(const std::string& key) override;
  TClassScope* CreateClassScope(TScope* parent, TClassNode* compound, int32_t isStatic);
};

}  // namespace zintrel
