#include "model/ASTNode.h"

#include <pthread.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "support/Messages.h"
#include "support/Text.h"
#include "model/Datatype.h"
#include "model/ProgramNode.h"

namespace zintrel {

TProgramNode* TASTNode::CommonRoot = nullptr;
TSourcePath TASTNode::CommonSourceFile;

const std::string* TSourcePath::Intern(const std::string& text) {
  // A node-based set: the strings never move, so the pointers stay valid.
  static std::unordered_set<std::string>* paths = new std::unordered_set<std::string>();
  return &*paths->insert(text).first;
}
TProgramNode* TNodePlaces::LastRoot = nullptr;
const void* TNodePlaces::LastFile = nullptr;
uint32_t TNodePlaces::LastNumber = 0;

uint32_t TNodePlaces::Find(TProgramNode* root, const TSourcePath& file) {
  struct TKeyHash {
    size_t operator()(const std::pair<TProgramNode*, const void*>& key) const {
      return std::hash<const void*>{}(key.first) * 31 + std::hash<const void*>{}(key.second);
    }
  };
  static auto& numbers =
      *new std::unordered_map<std::pair<TProgramNode*, const void*>, uint32_t, TKeyHash>();
  uint32_t number = 0;
  if (root != nullptr || !file.empty()) {
    auto [found, added] = numbers.try_emplace({root, file.Identity()}, 0);
    if (added) {
      if (Count == (MaxChunks << ChunkBits))
        AbortWithMessage("Fatal compiler error: too many source files");
      if ((Count & ((1u << ChunkBits) - 1)) == 0) Chunks[Count >> ChunkBits] = new TNodePlace[1u << ChunkBits];
      Chunks[Count >> ChunkBits][Count & ((1u << ChunkBits) - 1)] = TNodePlace{root, file};
      found->second = ++Count;
    }
    number = found->second;
  }
  LastRoot = root;
  LastFile = file.Identity();
  LastNumber = number;
  return number;
}

int32_t TASTNode::SuppressLookupErrors = 0;
void (*TASTNode::RecordErrorHandler)(const TASTNode*) = nullptr;


bool TNodeOrigin::Checking = false;
int32_t TNodeOrigin::Active = 0;

TNodeOrigin::TNodeOrigin(const TASTNode* origin)
    : SavedRoot(TASTNode::CommonRoot),
      SavedFile(TASTNode::CommonSourceFile),
      HadLocation(TASTNode::RuleLocationSet) {
  if (HadLocation) SavedLocation = TASTNode::RuleLocationValue;
  ++Active;
  TASTNode::CommonRoot = origin->Root();
  TASTNode::CommonSourceFile = origin->SourceFile();
  TASTNode::RuleLocationSet = true;
  TASTNode::RuleLocationValue = {origin->StartLine, origin->StartCol, origin->EndLine, origin->EndCol};
}

TNodeOrigin::~TNodeOrigin() {
  --Active;
  TASTNode::CommonRoot = SavedRoot;
  TASTNode::CommonSourceFile = SavedFile;
  TASTNode::RuleLocationSet = HadLocation;
  if (HadLocation) TASTNode::RuleLocationValue = SavedLocation;
}

TNodeOrigin::TNodeOrigin()
    : SavedRoot(TASTNode::CommonRoot),
      SavedFile(TASTNode::CommonSourceFile),
      HadLocation(TASTNode::RuleLocationSet) {
  if (HadLocation) SavedLocation = TASTNode::RuleLocationValue;
  ++Active;
  TASTNode::CommonRoot = nullptr;
  TASTNode::CommonSourceFile = TSourcePath();
  TASTNode::RuleLocationSet = false;
}

uint8_t TNodeClasses::Number(uint32_t bits) {
  // Called once per node class, the first time a node of it is made.
  static std::mutex guard;
  const std::lock_guard<std::mutex> lock(guard);
  for (int number = 0; number < Count; ++number)
    if (Sets[number] == bits) return static_cast<uint8_t>(number);
  if (Count == 256) AbortWithMessage("Fatal compiler error: too many node classes");
  Sets[Count] = bits;
  return static_cast<uint8_t>(Count++);
}

static_assert(sizeof(TASTNode) == 48, "a node's fields fill 44 bytes");

TASTNode::TASTNode() : TObject(Kind::Node) {
  if (TNodeOrigin::Missing())
    AbortWithMessage("Fatal compiler error: a node was made while checking without an origin");
  TableID = RegisterHandle(this);
  Place = TNodePlaces::Of(CommonRoot, CommonSourceFile);
  if (RuleLocationSet) {
    StartLine = RuleLocationValue.FirstLine;
    StartCol = RuleLocationValue.FirstColumn;
    EndLine = RuleLocationValue.LastLine;
    EndCol = RuleLocationValue.LastColumn;
  }
}

std::string TASTNode::ToString() const {
  return std::to_string(StartLine) + "-" + std::to_string(EndLine) + ":" +
         std::to_string(StartCol) + "-" + std::to_string(EndCol);
}

int TASTNode::SetExtern() {
  // Iterative, so that a deep subtree cannot overflow the stack; a child two fields hold is
  // walked once.
  std::vector<TASTNode*> pending{this};
  std::unordered_set<TASTNode*> seen{this};
  while (!pending.empty()) {
    TASTNode* node = pending.back();
    pending.pop_back();
    node->IsExtern = 1;
    node->ForEachChild([&](TASTNode* child) {
      if (seen.insert(child).second) pending.push_back(child);
    });
  }
  return 0;
}

int TASTNode::SetParentNode(TASTNode* parent) {
  Parent = parent;
  return 0;
}

int TASTNode::HasParentNode(const TASTNode* node) const {
  // Bounded by the number of nodes, so a parent cycle cannot hang the walk.
  int64_t steps = static_cast<int64_t>(TNodeTable::NodeCount()) + 1;
  for (const TASTNode* p = Parent; p != nullptr && steps > 0; p = p->Parent, --steps)
    if (p == node) return 1;
  return 0;
}

namespace {
// A shared datatype stands for every value of its kind (see TDatatype::Shared): it is no node's
// child.
bool IsSharedType(const TASTNode* node) {
  const TDatatype* type = NodeCast<TDatatype>(const_cast<TASTNode*>(node));
  return type != nullptr && type->IsShared();
}
}  // namespace

int TASTNode::AddChildNode(TASTNode* child) {
  if (child == nullptr || IsSharedType(child)) return 0;
  child->SetParentNode(this);
  return 0;
}

int TASTNode::AddChildNodeList(const TList* list) {
  if (list == nullptr) return 0;
  for (TObject* element : list->Items)
    if (element != nullptr && element->ObjectKind == Kind::Node)
      AddChildNode(static_cast<TASTNode*>(element));
  return 0;
}

namespace {

class TReplacingVisitor : public TNodeFieldVisitor {
 public:
  TReplacingVisitor(TASTNode* old, TASTNode* replacement) : Old(old), Replacement(replacement) {}
  void Visit(TASTNode* value, bool (*assign)(void*, TASTNode*), void* slot) override {
    if (value != Old) return;
    if (!assign(slot, Replacement))
      AbortWithMessage("Fatal compiler error: a " + Replacement->GetName() +
                       " cannot take the place of a " + Old->GetName());
  }

 private:
  TASTNode* Old;
  TASTNode* Replacement;
};

}  // namespace

int TASTNode::ReplaceChildNode(TASTNode* old, TASTNode* replacement) {
  if (old != nullptr) {
    TReplacingVisitor visitor(old, replacement);
    VisitNodeFields(visitor);
  }
  if (replacement != nullptr) replacement->SetParentNode(this);
  return 0;
}

TASTNode* TASTNode::DependencyRoot = nullptr;
TASTNode* TASTNode::SignatureClass = nullptr;

int TASTNode::AddDependency(TASTNode* dependency, TASTNode* user) {
  if (DependencyRoot != nullptr) {
    if (SignatureClass != nullptr && SignatureClass != this)
      return SignatureClass->AddDependency(dependency, user);
    if (DependencyRoot != this) return DependencyRoot->AddDependency(dependency, user);
    return 0;
  }
  for (TASTNode* p = Parent; p != nullptr; p = p->Parent)
    if (p->KeepsDependencies()) return p->AddDependency(dependency, user);
  return 0;
}


void TASTNode::InitStackLimit() {
  pthread_attr_t attributes;
  if (pthread_getattr_np(pthread_self(), &attributes) != 0) return;
  void* base = nullptr;
  size_t size = 0;
  if (pthread_attr_getstack(&attributes, &base, &size) == 0 && base != nullptr) {
    // Keep a margin for the walk between two checks and for the report itself.
    size_t margin = std::max<size_t>(size / 8, 256 * 1024);
    if (margin < size) StackLimit = static_cast<const char*>(base) + margin;
  }
  pthread_attr_destroy(&attributes);
}

void TASTNode::StackExhausted(const TASTNode* node) {
  Abort("Program nested too deeply", node);
}

void TASTNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TProgramNode* root = Root();
  visitor(root);
  if (root != Root()) SetRoot(root);
  visitor(Parent);
}

namespace {

// Decimal integer with optional leading blanks and sign; stops at the first other character.
int32_t ParseInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = std::min<int64_t>(value * 10 + (text[i] - '0'), INT32_MAX);
  return static_cast<int32_t>(negative ? -value : value);
}

// "a-b" into two integers; a dash at the very start is the sign of the first.
void SplitPair(std::string_view text, int32_t& first, int32_t& second) {
  size_t dash = text.empty() ? std::string_view::npos : text.find('-', 1);
  first = ParseInt(text.substr(0, dash));
  second = dash == std::string_view::npos ? 0 : ParseInt(text.substr(dash + 1));
}

}  // namespace

int TASTNode::LocationFromString(std::string_view text) {
  size_t colon = text.find(':');
  SplitPair(text.substr(0, colon), StartLine, EndLine);
  if (colon == std::string_view::npos) {
    StartCol = EndCol = 0;
  } else {
    SplitPair(text.substr(colon + 1), StartCol, EndCol);
  }
  return 0;
}

int TASTNode::CopyLocation(const TASTNode* other) {
  if (other == nullptr) return 0;
  SetSourceFile(other->SourceFile());
  StartLine = other->StartLine;
  EndLine = other->EndLine;
  StartCol = other->StartCol;
  EndCol = other->EndCol;
  return 0;
}

void TASTNode::Abort(std::string_view message, const TASTNode* node) {
  if (node != nullptr && node->IsCompiled && RecordErrorHandler != nullptr) RecordErrorHandler(node);
  std::string report = "Semantic error: ";
  report += message;
  if (node != nullptr) {
    report += "\nIn file " + node->SourceFile() +
              LocationLines(node->StartLine, node->EndLine, node->StartCol, node->EndCol);
  }
  AbortWithMessage(report);
}

void TASTNode::SetCommonRoot(TProgramNode* root) {
  CommonRoot = root;
  CommonSourceFile = root != nullptr ? root->SourceFile() : TSourcePath();
}

}  // namespace zintrel
