#pragma once
// What the parser's actions build through: texts, lists and the node classes' creation entries.
// The parser never holds an object; it passes handles of the node handle table, texts it hands
// over (the receiver owns and releases them) and plain codes and values.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/NodeTable.h"
#include "support/Name.h"

namespace zintrel {

// Takes over a text handed over by the parser; a null text gives "".
std::string TakeCString(std::string* text);
// A name as the parser's stacks hold it (they take only trivial values): the lexer interns
// identifiers and string texts as it reads them, so no text object crosses the bridge for them.
struct TNameValue {
  const void* Identity;
  operator TName() const { return TName::FromIdentity(Identity); }  // NOLINT: passed as names
};
// A text object to hand over, with the given content (the heap's size classes reuse the objects
// of texts taken over).
std::string* NewCString(std::string_view content);
// A new list holding the elements of a, then those of b.
TList* JoinLists(const TList* a, const TList* b);
int64_t LongFromHalves(uint32_t low, uint32_t high);
float FloatFromBits(uint64_t value);
double DoubleFromBits(uint64_t value);

// The nodes of a list, in order (other elements skipped); empty for none.
template <class T>
std::vector<T*> NodesOfList(const TList* list);

class TStringEmitter {
 public:
  // A new text: first followed by the name; first is released.
  static std::string* AppendIdentifier(std::string* first, TName second);
  // A new text: text followed by the suffix; the text is released.
  static std::string* AppendConstChar(std::string* text, const char* suffix);
};

class TListEmitter {
 public:
  static int32_t EmitEmptyList();
  // A new list holding the node, or a copy of the list.
  static int32_t EmitSingleList(int32_t handle);
  // Appends a node, or every node of a list (lists are flattened).
  static int32_t AppendToList(int32_t list, int32_t handle);
  static int32_t PrependToList(int32_t list, int32_t handle);
  static int32_t AppendStringToList(int32_t list, TName text);
};

}  // namespace zintrel

#include "model/ASTNode.h"

namespace zintrel {

template <class T>
std::vector<T*> NodesOfList(const TList* list) {
  std::vector<T*> nodes;
  if (list == nullptr) return nodes;
  nodes.reserve(list->Items.size());
  for (TObject* item : list->Items)
    if (item != nullptr && item->ObjectKind == TObject::Kind::Node)
      if (T* node = NodeCast<T>(static_cast<TASTNode*>(item))) nodes.push_back(node);
  return nodes;
}

}  // namespace zintrel
