#pragma once
// Base of every syntax-tree node: handle, owning program node, parent/children links, source
// location, extern and compiled marks, and the semantic-error report.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "frontend/Location.h"
#include "frontend/NodeTable.h"

namespace zintrel {

class TASTNode;
class TDatatype;
class TExpressionNode;
class TProgramNode;
class TScope;
class TStatementNode;

// Visits the node-valued fields of a node, so that ReplaceChildNode can find the fields that
// hold a given node. Each node class lists its own fields in one small override of
// TASTNode::VisitNodeFields: `Base::VisitNodeFields(v); v(Expression); v(Statements);`.
class TNodeFieldVisitor {
 public:
  virtual ~TNodeFieldVisitor() = default;
  template <class T>
  void operator()(T*& field) {
    Visit(field, &Assign<T>, &field);
  }
  // Lists of nodes are visited element by element, so a rewritten argument or statement takes
  // its place in the list it stands in.
  template <class List>
    requires requires(List& list) { *list.begin(); }
  void operator()(List& list) {
    using T = std::remove_pointer_t<std::remove_reference_t<decltype(*list.begin())>>;
    for (T*& element : list) Visit(element, &Assign<T>, &element);
  }
  // value: the field's node; assign(slot, node) stores a node into the field and answers false
  // when the node is not of the field's class (the field is then unchanged).
  virtual void Visit(TASTNode* value, bool (*assign)(void* slot, TASTNode* node), void* slot) = 0;

 private:
  template <class T>
  static bool Assign(void* slot, TASTNode* node) {
    T* typed = dynamic_cast<T*>(node);
    if (node != nullptr && typed == nullptr) return false;
    *static_cast<T**>(slot) = typed;
    return true;
  }
};

// The path of a node's source file. Every node of a file names the same path, so nodes keep a
// pointer to one shared copy of it.
class TSourcePath {
 public:
  TSourcePath() : Text(EmptyPath()) {}
  TSourcePath(const std::string& text) : Text(Intern(text)) {}  // NOLINT: paths convert freely
  TSourcePath(const char* text) : Text(Intern(text)) {}         // NOLINT
  operator const std::string&() const { return *Text; }         // NOLINT
  const std::string& str() const { return *Text; }
  bool empty() const { return Text->empty(); }
  void clear() { Text = EmptyPath(); }
  // Equal paths share one copy: the copy's address tells paths apart.
  const void* Identity() const { return Text; }
  friend bool operator==(const TSourcePath& a, const TSourcePath& b) { return a.Text == b.Text; }
  friend bool operator==(const TSourcePath& a, const std::string& b) { return *a.Text == b; }
  friend bool operator==(const TSourcePath& a, const char* b) { return *a.Text == b; }
  friend std::string operator+(const std::string& a, const TSourcePath& b) { return a + *b.Text; }
  friend std::string operator+(const char* a, const TSourcePath& b) { return a + *b.Text; }
  friend std::ostream& operator<<(std::ostream& out, const TSourcePath& path) {
    return out << *path.Text;
  }

 private:
  static const std::string* Intern(const std::string& text);
  static const std::string* EmptyPath() {
    static const std::string* const empty = Intern(std::string());
    return empty;
  }
  const std::string* Text;
};

// The program node and the source file a node belongs to. The nodes of one file share one
// pair, so a node keeps only the pair's number: 0 for none, else its place in the list + 1.
struct TNodePlace {
  TProgramNode* Root = nullptr;
  TSourcePath SourceFile;
};
class TNodePlaces {
 public:
  static TProgramNode* Root(uint32_t number) {
    return number == 0 ? nullptr : Entry(number).Root;
  }
  static TSourcePath SourceFile(uint32_t number) {
    return number == 0 ? TSourcePath() : Entry(number).SourceFile;
  }
  // The number of the pair; the one asked for last is answered without a search.
  static uint32_t Of(TProgramNode* root, const TSourcePath& file) {
    if (root == LastRoot && file.Identity() == LastFile) return LastNumber;
    return Find(root, file);
  }

 private:
  static uint32_t Find(TProgramNode* root, const TSourcePath& file);
  // The pairs live in chunks that never move: while a long program's text is generated on a
  // second thread, which reads the pairs of its nodes, the check may add pairs for modules it
  // loads.
  static constexpr uint32_t ChunkBits = 10;
  static constexpr uint32_t MaxChunks = 4096;
  static const TNodePlace& Entry(uint32_t number) {
    return Chunks[(number - 1) >> ChunkBits][(number - 1) & ((1u << ChunkBits) - 1)];
  }
  static inline TNodePlace* Chunks[MaxChunks] = {};
  static inline uint32_t Count = 0;
  static TProgramNode* LastRoot;
  static const void* LastFile;
  static uint32_t LastNumber;
};

// Classes that NodeCast recognises by a bit of the node's class set: the casts the checker and
// the code generator make most often, each of which would otherwise be a dynamic_cast walking
// the class hierarchy.
enum TNodeClassBit : uint32_t {
  NC_VARIABLE_DECL = 1u << 0,
  NC_VARIABLE = 1u << 1,
  NC_LITERAL = 1u << 2,
  NC_BINARY_OP = 1u << 3,
  NC_UNARY_OP = 1u << 4,
  NC_CLASS = 1u << 5,
  NC_FUNCTION = 1u << 6,
  NC_PROGRAM = 1u << 7,
  NC_IF = 1u << 8,
  NC_ELSE_IF = 1u << 9,
  NC_ELSE = 1u << 10,
  NC_WHILE = 1u << 11,
  NC_REPEAT = 1u << 12,
  NC_FOR = 1u << 13,
  NC_FOR_WHILE = 1u << 14,
  NC_RETURN = 1u << 15,
  NC_FUNCTION_CALL = 1u << 16,
  NC_ASSIGNMENT = 1u << 17,
  NC_TYPE_CAST = 1u << 18,
  NC_AUTO_ARRAY = 1u << 19,
  NC_MEMBER_ACCESS = 1u << 20,
  NC_DEFAULT = 1u << 21,
  NC_DATATYPE = 1u << 22,
};

// The sets of class bits nodes have, numbered: a node keeps the number of its set in a byte.
// Number 0 is the empty set.
class TNodeClasses {
 public:
  static uint32_t Bits(uint8_t number) { return Sets[number]; }
  // The number of the set, numbered anew when it is new.
  static uint8_t Number(uint32_t bits);

 private:
  static inline uint32_t Sets[256] = {};
  static inline int Count = 1;
};

// Opens the public part of a class NodeCast recognises by `bit`. ZINTREL_NODE_CLASS also
// declares the constructor that adds the bit; a class with a constructor of its own uses
// ZINTREL_NODE_CLASS_BIT and calls ZINTREL_ADD_CLASS_BIT() there. A class's base classes give
// every one of its nodes the same set, so the set's number is found once per class.
#define ZINTREL_NODE_CLASS_BIT(Class, bit)   \
 public:                                     \
  static constexpr uint32_t ClassBit = bit; \
  using TClassBitOwner = Class;
#define ZINTREL_ADD_CLASS_BIT()                                                         \
  do {                                                                                  \
    static const uint8_t number =                                                       \
        TNodeClasses::Number(TNodeClasses::Bits(ClassSet) | ClassBit);                  \
    ClassSet = number;                                                                  \
  } while (false)
#define ZINTREL_NODE_CLASS(Class, bit) \
  ZINTREL_NODE_CLASS_BIT(Class, bit)   \
  Class() { ZINTREL_ADD_CLASS_BIT(); }

class TASTNode : public TObject {
 public:
  // Half a million nodes for a program of a hundred thousand lines: the fields are packed into
  // 44 bytes. The two flags and the class set fill the room after the object kind.
  int8_t IsCompiled = 0;
  int8_t IsExtern = 0;
  // The number of the set of bits of the node's class and of its base classes among those
  // NodeCast tells apart without a dynamic_cast (see ZINTREL_NODE_CLASS).
  uint8_t ClassSet = 0;
  int32_t TableID = -1;
  // A node's children are the nodes its fields hold whose parent it is: every child is held by a
  // field (see VisitNodeFields), and a node a field only refers to has a parent of its own. So
  // a node keeps no list of its children.
  TASTNode* Parent = nullptr;

 private:
  uint32_t Place = 0;

 public:
  int32_t StartLine = 0;
  int32_t EndLine = 0;
  int32_t StartCol = 0;
  int32_t EndCol = 0;

  // The program node the node belongs to, and the path of its source file.
  TProgramNode* Root() const { return TNodePlaces::Root(Place); }
  TSourcePath SourceFile() const { return TNodePlaces::SourceFile(Place); }
  void SetRoot(TProgramNode* root) { Place = TNodePlaces::Of(root, SourceFile()); }
  void SetSourceFile(const TSourcePath& file) { Place = TNodePlaces::Of(Root(), file); }

  // The tree-building context copied into every new node.
  static TProgramNode* CommonRoot;
  static TSourcePath CommonSourceFile;
  static int32_t SuppressLookupErrors;

  // Registers the node in the handle table and takes root, file and location from the context.
  TASTNode();
  ~TASTNode() override = default;

  // The node's location as StartLine-EndLine:StartCol-EndCol; declarations override it.
  virtual std::string ToString() const;
  virtual std::string GetName() const = 0;
  virtual int SetExtern();
  virtual int SetParentNode(TASTNode* parent);
  virtual int HasParentNode(const TASTNode* node) const;
  virtual int AddChildNode(TASTNode* child);
  int AddChildNodeList(const TList* list);
  // The same for a vector or list of nodes; null entries are skipped.
  template <class List>
    requires requires(const List& list) { list.begin(); }
  int AddChildNodeList(const List& list) {
    for (auto* element : list)
      if (element != nullptr) AddChildNode(element);
    return 0;
  }
  template <class List>
  int AddChildNodeArray(const List& array) {
    return AddChildNodeList(array);
  }
  virtual int ReplaceChildNode(TASTNode* old, TASTNode* replacement);
  // Calls the function with each child, in the order of the fields (a child two fields hold
  // comes twice).
  template <class Function>
  void ForEachChild(Function&& function);
  std::vector<TASTNode*> ChildNodes() {
    std::vector<TASTNode*> children;
    ForEachChild([&children](TASTNode* child) { children.push_back(child); });
    return children;
  }
  // Passes the record up to the nearest ancestor that keeps dependency records.
  virtual int AddDependency(TASTNode* dependency, TASTNode* user);
  // Classes and program nodes keep dependency records.
  virtual bool KeepsDependencies() const { return false; }
  // While a program is checked, the file whose declarations and statements are being checked
  // and the class whose signature is being checked are known, so a record goes straight there
  // instead of walking up a tree that may be very deep. Outside such a check the walk is used.
  static TASTNode* DependencyRoot;
  static TASTNode* SignatureClass;
  virtual int CheckCorrectness(TScope* scope) = 0;
  virtual std::string GenerateCode(const std::string& indent) = 0;
  // Appends the node's text to out. The generators that write their text piece by piece
  // override it, so that a parent's text grows in place instead of through a copy per child.
  virtual void AppendCode(std::string& out, const std::string& indent) { out += GenerateCode(indent); }
  virtual int LocationFromString(std::string_view text);
  virtual int CopyLocation(const TASTNode* other);
  // Lists the node-valued fields of the node's class and of all its base classes.
  virtual void VisitNodeFields(TNodeFieldVisitor& visitor);
  // Cheap downcasts to the classes the parser's callbacks ask for most often.
  virtual TStatementNode* AsStatement() { return nullptr; }
  virtual TExpressionNode* AsExpression() { return nullptr; }

  // Reports a semantic error at the node and ends the compilation.
  [[noreturn]] static void Abort(std::string_view message, const TASTNode* node);
  // Called first for an error at a node read from a dependency record; it may build again from
  // the sources and end the process, or return to let the error be reported.
  static void (*RecordErrorHandler)(const TASTNode* node);
  // The location of the grammar rule being reduced; the values are copied, so the caller's
  // record may go away. Null clears it.
  static void SetRuleLocation(const LocationRecord* location) {
    RuleLocationSet = location != nullptr;
    if (location != nullptr) RuleLocationValue = *location;
  }
  static const LocationRecord* RuleLocation() { return RuleLocationSet ? &RuleLocationValue : nullptr; }
  static void SetCommonRoot(TProgramNode* root);

  // Deep trees (a sum of a hundred thousand terms) are walked recursively. Before going deeper,
  // the walks ask whether enough stack is left, and end the compilation with a report at the
  // node instead of overflowing the stack.
  static void GuardStack(const TASTNode* node) {
    char probe;
    if (&probe < StackLimit) StackExhausted(node);
  }
  // Sets the lowest stack address the walks may reach, for the calling thread.
  static void InitStackLimit();

  // The walks over a block wait on memory more than they work: a program's tree is far larger
  // than the caches, and each node is reached through its parent. The parser makes a node's
  // children before the node, so a statement's nodes lie mostly between the node made before
  // them (the statement before, passed as previous) and the statement itself. That stretch is
  // asked for at once, ahead of the walk, so its lines arrive together instead of one by one.
  static void PrefetchStatement(const TASTNode* previous, const TASTNode* statement) {
    constexpr ptrdiff_t Line = 64, Nearby = 512, Farthest = 4096;
    if (statement == nullptr) return;
    const char* end = reinterpret_cast<const char*>(statement) + Line;
    const char* start = reinterpret_cast<const char*>(previous);
    if (start == nullptr || start >= end || end - start > Farthest) start = end - Nearby;
    for (const char* line = start; line < end; line += Line) __builtin_prefetch(line);
  }

 private:
  friend class TNodeOrigin;
  // Set for every grammar rule reduced, so kept where the parser's loop sees it inline.
  static inline LocationRecord RuleLocationValue{};
  static inline bool RuleLocationSet = false;
  [[noreturn]] static void StackExhausted(const TASTNode* node);
  static inline thread_local const char* StackLimit = nullptr;
};

template <class Function>
void TASTNode::ForEachChild(Function&& function) {
  class TChildVisitor : public TNodeFieldVisitor {
   public:
    TChildVisitor(TASTNode* node, Function& call) : Node(node), Call(call) {}
    void Visit(TASTNode* value, bool (*)(void*, TASTNode*), void*) override {
      if (value != nullptr && value != Node && value->Parent == Node) Call(value);
    }

   private:
    TASTNode* Node;
    Function& Call;
  };
  TChildVisitor visitor(this, function);
  VisitNodeFields(visitor);
}

// A node made while checking stands for a node of the tree (a cast for the value it converts, a
// constructor call for the New it replaces): while a TNodeOrigin lives, every new node belongs
// to the origin's root and file and takes the origin's location. While a program is checked,
// making a node without one is a compiler fault, reported at once instead of filing the node
// under whatever file was parsed last.
class TNodeOrigin {
 public:
  explicit TNodeOrigin(const TASTNode* origin);
  ~TNodeOrigin();
  TNodeOrigin(const TNodeOrigin&) = delete;
  TNodeOrigin& operator=(const TNodeOrigin&) = delete;

  // While a TDetached lives, new nodes belong to no tree: no root, file or location.
  class TDetached;

  // Whether an origin must be given for the nodes made now.
  static bool Missing() { return Checking && Active == 0; }

  // Marks the check of a program: nodes made during it need an origin.
  class TCheck {
   public:
    TCheck() : Saved(Checking) { Checking = true; }
    ~TCheck() { Checking = Saved; }
    TCheck(const TCheck&) = delete;
    TCheck& operator=(const TCheck&) = delete;

   private:
    bool Saved;
  };

 protected:
  // Saves the state and clears it: the nodes made now have no origin.
  TNodeOrigin();

 private:
  static bool Checking;
  static int32_t Active;
  TProgramNode* SavedRoot;
  TSourcePath SavedFile;
  LocationRecord SavedLocation{};
  bool HadLocation;
};

class TNodeOrigin::TDetached : public TNodeOrigin {
 public:
  TDetached() = default;
};

// Base of all statements; expressions and variable declarations are statements too.
class TStatementNode : public TASTNode {
 public:
  TStatementNode* AsStatement() override { return this; }
};

// A node as one of its classes, or null.
template <class T>
T* NodeCast(TASTNode* node) {
  if (node == nullptr) return nullptr;
  if constexpr (std::is_same_v<T, TStatementNode>) {
    return node->AsStatement();
  } else if constexpr (std::is_same_v<T, TExpressionNode>) {
    return node->AsExpression();
  } else if constexpr (requires { typename T::TClassBitOwner; }) {
    if constexpr (std::is_same_v<typename T::TClassBitOwner, T>) {
      const bool match = (TNodeClasses::Bits(node->ClassSet) & T::ClassBit) != 0;
      return match ? static_cast<T*>(node) : nullptr;
    } else {
      return dynamic_cast<T*>(node);
    }
  } else {
    return dynamic_cast<T*>(node);
  }
}

// The nearest ancestor of the node (the node itself excluded) for which match answers true.
template <class Match>
TASTNode* FindEnclosing(const TASTNode* node, Match match) {
  for (TASTNode* p = node->Parent; p != nullptr; p = p->Parent)
    if (match(p)) return p;
  return nullptr;
}

// The nearest ancestor of the node that is a T (the function, class or file around it).
template <class T>
T* EnclosingNode(const TASTNode* node) {
  return static_cast<T*>(FindEnclosing(node, [](TASTNode* p) { return NodeCast<T>(p) != nullptr; }));
}

inline TASTNode* TNodeTable::HandleToNode(int32_t handle) {
  TObject* object = HandleToObject(handle);
  if (object == nullptr || object->ObjectKind != TObject::Kind::Node) return nullptr;
  return static_cast<TASTNode*>(object);
}
inline TASTNode* HandleToNode(int32_t handle) { return TNodeTable::HandleToNode(handle); }

}  // namespace zintrel
