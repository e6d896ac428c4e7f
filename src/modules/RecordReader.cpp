// The dependency record reader: rebuilds a root's imports and declarations from a record. A
// record is only ever read, never trusted: a line that does not have the shape the writer gives
// it makes the whole record unreadable (the caller then compiles the file again or reports the
// module), and nothing read from it touches the file system.
#include <cstdlib>

#include "driver/Compiler.h"
#include "support/Paths.h"
#include "frontend/Tokens.h"
#include "model/ClassNode.h"
#include "model/Datatype.h"
#include "model/FunctionNode.h"
#include "model/NodeFactory.h"
#include "model/ProgramNode.h"
#include "model/Scope.h"
#include "model/VariableDeclNode.h"
#include "support/Files.h"
#include "semantics/Expression.h"

namespace zintrel {

namespace {

bool StartsWith(std::string_view text, std::string_view head) {
  return text.size() >= head.size() && text.substr(0, head.size()) == head;
}

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

bool IsDigits(std::string_view text, size_t maxLength) {
  if (text.empty() || text.size() > maxLength) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

// StartLine-EndLine:StartCol-EndCol, each a decimal number that fits the location fields.
bool IsLocation(std::string_view text) {
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos) return false;
  for (std::string_view pair : {text.substr(0, colon), text.substr(colon + 1)}) {
    const size_t dash = pair.find('-');
    if (dash == std::string_view::npos || !IsDigits(pair.substr(0, dash), 9) ||
        !IsDigits(pair.substr(dash + 1), 9))
      return false;
  }
  return true;
}

// A declared name: letters, digits, underscores, and the 8-bit remains of other characters.
bool IsName(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (!(u >= 0x80 || u == '_' || (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') ||
          (u >= 'A' && u <= 'Z')))
      return false;
  }
  return true;
}

// Types nest once per " Ptr", "[" and "("; more levels than any program writes mean garbage,
// and reading them would only recurse deeply.
constexpr size_t MaxTypeNesting = 512;

bool NestingWithinLimit(std::string_view text) {
  size_t levels = 0;
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] == '(' || text[i] == '[' || text.compare(i, 4, " Ptr") == 0) ++levels;
  return levels <= MaxTypeNesting;
}

// A datatype read back from its text, checked to be one the writer could have written; null
// when it is not.
TDatatype* ReadDatatype(std::string_view text) {
  if (!NestingWithinLimit(text)) return nullptr;
  TDatatype* type = ActiveTarget->CreateDatatype()->FromString(text);
  std::vector<const TDatatype*> pending{type};
  while (!pending.empty()) {
    const TDatatype* t = pending.back();
    pending.pop_back();
    if (t == nullptr) return nullptr;
    switch (t->TypeKind) {
      case TYPE_COMPOUND:
        if (!IsName(t->Identifier)) return nullptr;
        break;
      case TYPE_POINTER:
      case TYPE_ARRAY:
        if (t->NestedType == nullptr || t->Dimension < 0) return nullptr;
        pending.push_back(t->NestedType);
        break;
      case TYPE_FUNCTION:
        for (const std::string& name : t->Signature().Identifiers)
          if (!name.empty() && !IsName(name)) return nullptr;
        pending.push_back(t->ReturnType());
        pending.insert(pending.end(), t->Signature().Parameters.begin(),
                       t->Signature().Parameters.end());
        break;
      default:
        break;
    }
  }
  return type;
}

// The position of the "(" that opens the group closed by the ")" at close; npos when unbalanced.
size_t MatchingOpen(std::string_view text, size_t close) {
  int depth = 0;
  for (size_t i = close + 1; i-- > 0;) {
    const char c = text[i];
    if (c == ')' || c == ']') ++depth;
    if (c == '(' || c == '[') --depth;
    if (depth == 0) return c == '(' ? i : std::string_view::npos;
  }
  return std::string_view::npos;
}

// Splits at the commas outside any () or [] pair.
std::vector<std::string_view> SplitAtDepthZero(std::string_view text) {
  std::vector<std::string_view> pieces;
  int depth = 0;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '(' || c == '[') ++depth;
    if (c == ')' || c == ']') --depth;
    if (c == ',' && depth == 0) {
      pieces.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

// The location at the head of a declaration line; false when the line has none. The location
// also becomes the rule location, so that every node made for the line carries it.
bool TakeLocation(std::string_view line, std::string_view& location, std::string_view& rest) {
  const size_t blank = line.find(' ');
  if (blank == std::string_view::npos) return false;
  location = line.substr(0, blank);
  rest = line.substr(blank + 1);
  if (!IsLocation(location)) return false;
  int32_t numbers[4] = {0, 0, 0, 0};
  size_t which = 0;
  for (char c : location) {
    if (c >= '0' && c <= '9') {
      numbers[which] = numbers[which] * 10 + (c - '0');
    } else {
      ++which;
    }
  }
  LocationRecord record{numbers[0], numbers[2], numbers[1], numbers[3]};
  TASTNode::SetRuleLocation(&record);
  return true;
}

// Reads one declaration line. A constant declared Extern without a value keeps none, as it was
// parsed, so that it is still refused in constant expressions.
TVariableDeclNode* ReadVariable(TVariableDeclNode* node, std::string_view line, bool isExtern) {
  std::string_view location, r;
  if (!TakeLocation(line, location, r)) return nullptr;
  int32_t kind = 0;
  if (StartsWith(r, "Const")) {
    kind = DECL_CONST;
  } else if (StartsWith(r, "Global")) {
    kind = DECL_GLOBAL;
  } else if (StartsWith(r, "Field")) {
    kind = DECL_FIELD;
  }
  const size_t blank = r.find(' ');
  const size_t colon = r.find(':');
  if (blank == std::string_view::npos || colon == std::string_view::npos || colon < blank)
    return nullptr;
  const std::string_view identifier = r.substr(blank + 1, colon - blank - 1);
  if (!IsName(identifier)) return nullptr;
  const size_t equals = r.find('=', colon);
  TDatatype* type = ReadDatatype(
      r.substr(colon + 1, equals == std::string_view::npos ? std::string_view::npos : equals - colon - 1));
  if (type == nullptr || type->IsVoid()) return nullptr;
  const std::string_view text =
      equals == std::string_view::npos ? std::string_view() : r.substr(equals + 1);
  TLiteralNode* value = nullptr;
  if (!(kind == DECL_CONST && isExtern && equals == std::string_view::npos)) {
    if (type->IsInteger() && !type->IsBoolean()) {
      const std::string_view digits = StartsWith(text, "-") ? text.substr(1) : text;
      if (!text.empty() && !IsDigits(digits, 20)) return nullptr;
    } else if (type->IsReal() && !text.empty()) {
      const std::string copy(text);
      char* end = nullptr;
      std::strtod(copy.c_str(), &end);
      if (end != copy.c_str() + copy.size()) return nullptr;
    } else if (type->IsBoolean() && !(text.empty() || text == "0" || text == "1")) {
      return nullptr;
    }
    value = ActiveTarget->CreateLiteralNode()->Create(type, text);
    if (type->IsBoolean() && !text.empty()) value->LiteralKind = text == "1" ? tok::KEY_TRUE : tok::KEY_FALSE;
    value->IsCompiled = 1;
  }
  node->Create(kind, std::string(identifier), type, value);
  node->IsCompiled = 1;
  node->LocationFromString(location);
  return node;
}

}  // namespace

TVariableDeclNode* TVariableDeclNode::FromString(std::string_view line) {
  return ReadVariable(this, line, false);
}

TFunctionNode* TFunctionNode::FromString(std::string_view line) {
  std::string_view location, r;
  if (!TakeLocation(line, location, r)) return nullptr;
  LocationFromString(location);
  IsMethod = StartsWith(r, "Method") ? 1 : 0;
  IsCompiled = 1;
  Parameters.clear();
  ParameterCount = 0;
  // Abstract and Final are told by the end of the line alone.
  IsAbstract = EndsWith(r, " Abstract") ? 1 : 0;
  IsFinal = EndsWith(r, " Final") ? 1 : 0;
  std::string_view body = r;
  if (EndsWith(body, " Final")) body.remove_suffix(6);
  if (EndsWith(body, " Abstract")) body.remove_suffix(9);
  // The parameter list is the last group of the line, so that return types of function type
  // (and arrays of them) are skipped whatever they hold.
  if (body.empty() || body.back() != ')') return nullptr;
  const size_t close = body.size() - 1;
  const size_t open = MatchingOpen(body, close);
  const size_t blank = body.find(' ');
  if (open == std::string_view::npos || blank == std::string_view::npos || blank > open)
    return nullptr;
  const size_t colon = body.find(':', blank);
  std::string_view returnText;
  if (colon != std::string_view::npos && colon < open) {
    Identifier = std::string(body.substr(blank + 1, colon - blank - 1));
    returnText = body.substr(colon + 1, open - colon - 1);
  } else {
    Identifier = std::string(body.substr(blank + 1, open - blank - 1));
  }
  if (!IsName(Identifier)) return nullptr;
  ReturnDatatype = ReadDatatype(returnText);
  if (ReturnDatatype == nullptr) return nullptr;
  const std::string_view list = body.substr(open + 1, close - open - 1);
  if (!list.empty()) {
    for (std::string_view piece : SplitAtDepthZero(list)) {
      if (StartsWith(piece, " ")) piece.remove_prefix(1);
      const size_t separator = piece.find(':');
      if (separator == std::string_view::npos || !IsName(piece.substr(0, separator)))
        return nullptr;
      std::string_view typeText = piece.substr(separator + 1);
      const bool hasDefault = EndsWith(typeText, "=");
      if (hasDefault) typeText.remove_suffix(1);
      TDatatype* type = ReadDatatype(typeText);
      if (type == nullptr || type->IsVoid()) return nullptr;
      // A default value is only marked: its value lives in the generated code.
      TLiteralNode* marker = nullptr;
      if (hasDefault) {
        marker = ActiveTarget->CreateLiteralNode();
        marker->LiteralKind = tok::KEY_NULL;
        marker->IsCompiled = 1;
      }
      TVariableDeclNode* parameter = ActiveTarget->CreateVariableDeclNode()->Create(
          DECL_LOCAL, std::string(piece.substr(0, separator)), type, marker);
      parameter->IsCompiled = 1;
      parameter->CopyLocation(this);
      Parameters.push_back(parameter);
      ++ParameterCount;
    }
  }
  Statements = TStatementList::Create(std::vector<TStatementNode*>());
  Datatype = ActiveTarget->CreateDatatype()->Create(TYPE_FUNCTION, this, 0);
  Declaration =
      ActiveTarget->CreateVariableDeclNode()->Create(DECL_FUNCTION, Identifier, Datatype, nullptr);
  Declaration->CopyLocation(this);
  Declaration->IsCompiled = 1;
  SetupChildren();
  return this;
}

TClassNode* TClassNode::FromString(std::string_view line) {
  std::string_view location, r;
  if (!TakeLocation(line, location, r)) return nullptr;
  LocationFromString(location);
  std::vector<std::string_view> words;
  for (size_t start = 0;;) {
    const size_t blank = r.find(' ', start);
    words.push_back(r.substr(start, blank == std::string_view::npos ? std::string_view::npos
                                                                     : blank - start));
    if (blank == std::string_view::npos) break;
    start = blank + 1;
  }
  if (words.size() < 2 || !IsName(words[1])) return nullptr;
  Identifier = std::string(words[1]);
  IsCompiled = 1;
  Variables.clear();
  Methods.clear();
  Functions.clear();
  ParentsChanging();
  ClassParents.clear();
  size_t next = 2;
  if (next < words.size() && words[next] == "Extends") {
    for (++next; next < words.size() && words[next] != "Abstract" && words[next] != "Final"; ++next) {
      if (!IsName(words[next])) return nullptr;
      ClassParents.push_back(TClassParent{std::string(words[next]), nullptr});
    }
  }
  if (next < words.size() && words[next] == "Abstract") {
    AbstractFlag = 1;
    ++next;
  }
  if (next < words.size() && words[next] == "Final") {
    IsFinal = 1;
    ++next;
  }
  return next == words.size() ? this : nullptr;
}

namespace {

// Keeps the tree-building context of the caller across the reading of a record.
class TReadingContext {
 public:
  TReadingContext()
      : Root(TASTNode::CommonRoot),
        SourceFile(TASTNode::CommonSourceFile),
        HadRuleLocation(TASTNode::RuleLocation() != nullptr),
        Visibility(TClassNode::CurrentVisibility) {
    if (HadRuleLocation) RuleLocation = *TASTNode::RuleLocation();
  }
  ~TReadingContext() {
    TASTNode::CommonRoot = Root;
    TASTNode::CommonSourceFile = SourceFile;
    TASTNode::SetRuleLocation(HadRuleLocation ? &RuleLocation : nullptr);
    TClassNode::CurrentVisibility = Visibility;
  }

 private:
  TProgramNode* Root;
  TSourcePath SourceFile;
  bool HadRuleLocation;
  LocationRecord RuleLocation;
  int32_t Visibility;
};

}  // namespace

TProgramNode* TProgramNode::FromString(std::string_view text) {
  TReadingContext context;
  // Every record the writer makes ends with a line break: one that does not was cut short.
  if (text.empty() || text.back() != '\n') return nullptr;
  IsCompiled = 1;
  CommonRoot = this;
  TClassNode::SetVisibility(VISIBILITY_PUBLIC);
  TClassNode* current = nullptr;
  bool currentExtern = false;
  bool externPending = false;
  bool sawImports = false;
  bool sawExports = false;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    const size_t blank = line.find(' ');
    std::string_view keyword = line.substr(0, blank);
    if (keyword.find('-') != std::string_view::npos) {
      if (blank == std::string_view::npos) return nullptr;
      const std::string_view rest = line.substr(blank + 1);
      keyword = rest.substr(0, rest.find(' '));
    }
    if (!sawImports) {
      if (line != "Imports:") return nullptr;
      sawImports = true;
      continue;
    }
    TASTNode* made = nullptr;
    if (keyword == "File" || keyword == "Module") {
      if (sawExports || blank == std::string_view::npos || blank + 1 == line.size()) return nullptr;
      (keyword == "File" ? FileImports : ModuleImports).emplace_back(line.substr(blank + 1));
      continue;
    }
    if (keyword == "Exports:") {
      if (sawExports) return nullptr;
      sawExports = true;
      continue;
    }
    if (!sawExports) continue;
    if (keyword == "Function" || keyword == "Method") {
      if (keyword == "Method" && current == nullptr) return nullptr;
      TFunctionNode* f = ActiveTarget->CreateFunctionNode()->FromString(line);
      if (f == nullptr) return nullptr;
      made = f;
      if (keyword == "Function") {
        (current != nullptr ? current->Functions : Functions).push_back(f);
      } else if (f->Identifier.Folded() == current->Identifier.Folded()) {
        if (!f->ReturnDatatype->IsVoid() || current->Constructor != nullptr) return nullptr;
        current->Constructor = f;
        f->TransformToConstructor(current);
        CommonRoot = this;
      } else {
        current->Methods.push_back(f);
      }
    } else if (keyword == "Class") {
      if (current != nullptr) return nullptr;
      current = ActiveTarget->CreateClassNode()->FromString(line);
      if (current == nullptr) return nullptr;
      Classes.push_back(current);
      made = current;
      currentExtern = externPending;
    } else if (keyword == "EndClass") {
      if (current == nullptr) return nullptr;
      current->SetupChildren();
      // An external class's members are external too, as they were when it was parsed.
      if (currentExtern) current->SetExtern();
      current = nullptr;
      TClassNode::SetVisibility(VISIBILITY_PUBLIC);
    } else if (keyword == "Global" || keyword == "Const" || keyword == "Field") {
      if (keyword == "Field" && current == nullptr) return nullptr;
      TVariableDeclNode* declaration = ReadVariable(ActiveTarget->CreateVariableDeclNode(), line,
                                                    externPending || (current != nullptr && currentExtern));
      if (declaration == nullptr) return nullptr;
      if (current != nullptr) {
        current->Variables.push_back(declaration);
      } else {
        Statements.push_back(declaration);
      }
      made = declaration;
    } else if (keyword == "Extern") {
      externPending = true;
    } else if (keyword == "Private") {
      TClassNode::SetVisibility(VISIBILITY_PRIVATE);
    } else if (keyword == "Protected") {
      TClassNode::SetVisibility(VISIBILITY_PROTECTED);
    }
    if (made != nullptr && externPending) {
      made->SetExtern();
      externPending = false;
    }
  }
  if (!sawExports || current != nullptr) return nullptr;
  SetupChildren();
  return this;
}

TProgramNode* TCompiler::LoadRootFromDep(const std::string& record, const std::string& source) {
  if (!PathExists(record)) return nullptr;
  std::string text;
  if (!ReadTextFile(record, text)) return nullptr;
  std::erase(text, '\r');
  TReadingContext context;
  TASTNode::CommonSourceFile = source;
  TASTNode::SetRuleLocation(nullptr);
  TProgramNode* root = ActiveTarget->CreateProgramNode();
  return root->FromString(text);
}

}  // namespace zintrel
