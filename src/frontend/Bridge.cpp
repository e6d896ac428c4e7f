#include "frontend/Bridge.h"

#include <cstring>

namespace zintrel {

std::string TakeCString(std::string* text) {
  if (text == nullptr) return std::string();
  std::string result = std::move(*text);
  delete text;
  return result;
}

std::string* NewCString(std::string_view content) { return new std::string(content); }

TList* JoinLists(const TList* a, const TList* b) {
  TList* list = new TList();
  if (a != nullptr) list->Items = a->Items;
  if (b != nullptr) list->Items.insert(list->Items.end(), b->Items.begin(), b->Items.end());
  return list;
}

int64_t LongFromHalves(uint32_t low, uint32_t high) {
  return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low);
}

float FloatFromBits(uint64_t value) {
  uint32_t bits = static_cast<uint32_t>(value);
  float result;
  std::memcpy(&result, &bits, sizeof result);
  return result;
}

double DoubleFromBits(uint64_t value) {
  double result;
  std::memcpy(&result, &value, sizeof result);
  return result;
}

std::string* TStringEmitter::AppendIdentifier(std::string* first, TName second) {
  std::string* result = new std::string(TakeCString(first));
  *result += second.str();
  return result;
}

std::string* TStringEmitter::AppendConstChar(std::string* text, const char* suffix) {
  std::string* result = new std::string(TakeCString(text));
  if (suffix != nullptr) *result += suffix;
  return result;
}

int32_t TListEmitter::EmitEmptyList() { return RegisterHandle(new TList()); }

int32_t TListEmitter::EmitSingleList(int32_t handle) {
  int32_t list = EmitEmptyList();
  if (TASTNode* node = HandleToNode(handle)) {
    HandleToList(list)->Items.push_back(node);
  } else if (TList* other = TakeList(handle)) {
    HandleToList(list)->Items = other->Items;
  }
  return list;
}

int32_t TListEmitter::AppendToList(int32_t list, int32_t handle) {
  TList* target = HandleToList(list);
  if (target == nullptr) return 0;
  if (TASTNode* node = HandleToNode(handle)) {
    target->Items.push_back(node);
  } else if (TList* other = TakeList(handle)) {
    for (TObject* item : other->Items)
      if (item != nullptr && item->ObjectKind == TObject::Kind::Node) target->Items.push_back(item);
  }
  return 0;
}

int32_t TListEmitter::PrependToList(int32_t list, int32_t handle) {
  TList* target = HandleToList(list);
  if (target == nullptr) return 0;
  if (TASTNode* node = HandleToNode(handle)) {
    target->Items.insert(target->Items.begin(), node);
  } else if (TList* other = TakeList(handle)) {
    if (other->Items.empty()) return 0;
    TObject* first = other->Items.front();
    std::vector<TObject*> leading{first};
    for (size_t i = 1; i < other->Items.size(); ++i)
      if (other->Items[i] != first) leading.push_back(other->Items[i]);
    target->Items.insert(target->Items.begin(), leading.begin(), leading.end());
  }
  return 0;
}

int32_t TListEmitter::AppendStringToList(int32_t list, TName text) {
  if (TList* target = HandleToList(list)) target->Items.push_back(new TStringObject(text.str()));
  return 0;
}

}  // namespace zintrel
