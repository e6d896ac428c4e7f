// The program-specific text of a file's header, class headers and source, and the file's main
// function.
#include <algorithm>
#include <memory>
#include <optional>
#include <unordered_map>
#include <typeinfo>

#include "cpp/CPPNodes.h"
#include "cpp/Text.h"
#include "modules/DependencyNode.h"
#include "support/Beside.h"
#include "support/Files.h"
#include "support/Paths.h"
#include "support/Text.h"

namespace zintrel {

namespace {

TCPPVariableDeclNode* CPP(TVariableDeclNode* declaration) {
  return static_cast<TCPPVariableDeclNode*>(declaration);
}
TCPPFunctionNode* CPP(TFunctionNode* function) { return static_cast<TCPPFunctionNode*>(function); }

TVariableDeclNode* AsDeclaration(TStatementNode* statement) {
  return NodeCast<TVariableDeclNode>(statement);
}

// Forward declarations of the program classes among the declarations a dependency record
// holds.
std::string Prototypes(const TDependencyNode* record, const std::string& indent) {
  std::string text;
  if (record == nullptr) return text;
  for (const auto& [file, uses] : record->Dependencies) {
    for (const auto& [declaration, user] : uses) {
      // A file's record holds every declaration it uses, locals included: the cheap test of
      // the node's class first.
      if (typeid(*declaration) != typeid(TCPPClassNode)) continue;
      auto* cls = static_cast<TClassNode*>(declaration);
      // Extern classes are declared by their own headers, in whatever form they have there
      // (a template, a class, a typedef), which a forward declaration could contradict.
      if (cls->IsExtern != 0) continue;
      if (cls->Root() != nullptr && cls->Root()->IsModule != 0) continue;
      text += indent;
      text += "struct ";
      AppendCPPIdentifier(text, cls->Identifier);
      text += ";\n";
    }
  }
  return text;
}

// The lines a class or function spans, for weighing work.
size_t LineSpan(const TASTNode* item) {
  return static_cast<size_t>(std::max(item->EndLine - item->StartLine + 1, 1));
}

// A function's definition or a class's member definitions, and the blank lines after them.
void AppendItemCode(std::string& text, TASTNode* item, const std::string& indent) {
  if (auto* function = NodeCast<TFunctionNode>(item))
    static_cast<TCPPFunctionNode*>(function)->AppendImplementationCode(text, indent, "", "");
  else
    AppendNodeCode(text, item, indent);
  text += "\n\n";
}

// The C++ text of a class's header after its includes: the classes the class's own members are
// declared with (all a class declaration needs; the file's whole list would give a file of n
// classes n headers of n lines each), then the class declaration.
std::string ClassHeaderText(TClassNode* cls, const std::string& indent) {
  std::string text = Prototypes(cls->Dependencies, indent);
  if (!text.empty()) text += "\n\n";
  text += static_cast<TCPPClassNode*>(cls)->GenerateDeclarationCode(indent) + ";\n";
  return text;
}

// The texts of a long program's classes, functions and class headers, made on the second
// processor while the check goes on: the classes' at once (their check comes first), then the
// functions' in the order the check takes them, each as soon as the check is done with it, then
// the headers'. A text depends on nothing but its own nodes and the declarations and class
// records complete before any function body is checked. Once the files are being written, the
// writer makes what it reaches that the work has not taken, while the work takes what is left
// from the end of its list, so both processors share it. A fatal report made by the work (a
// function nested too deeply for the generator) waits until the writer reaches its item; the
// work only takes items the writer has not reached, so every report a single thread would give
// first comes first.
class TTextsAhead {
 public:
  // The program's classes, and its functions in the order of the check.
  TTextsAhead(const std::vector<TClassNode*>& classes, const std::vector<TFunctionNode*>& functions)
      : Classes(classes.size()) {
    Items.insert(Items.end(), classes.begin(), classes.end());
    Items.insert(Items.end(), functions.begin(), functions.end());
    Items.insert(Items.end(), classes.begin(), classes.end());  // their headers
    Texts.resize(Items.size());
    States.assign(Items.size(), Free);
    for (size_t i = 0; i < Items.size(); ++i)
      if (Written(Items[i])) (IsHeader(i) ? HeaderPlaces : Places).emplace(Items[i], i);
    // A record puts its entries in order when it is first walked: here, not on two threads.
    for (TClassNode* cls : classes)
      if (cls->Dependencies != nullptr)
        for (const auto& entry : cls->Dependencies->Dependencies) (void)entry.second.begin();
    Work.emplace([this](TBesideWork& self) {
      if (!self.OnThread()) return;
      TASTNode::InitStackLimit();
      // In the order of the list while the check goes on; once the files are being written,
      // from the end of the list back, away from where the writer is.
      size_t next = 0, last = Items.size();
      for (;;) {
        size_t i = Items.size();
        bool stop = false;
        self.WaitFor([&] {
          stop = Stopping;
          if (stop) return true;
          if (Writing) {
            while (last > next && (States[last - 1] != Free || !Written(Items[last - 1]))) --last;
            if (last > next) i = --last;
          } else {
            while (next < last && (States[next] != Free || !Written(Items[next]))) ++next;
            if (next < last && !Ready(next)) return false;
            if (next < last) i = next++;
          }
          if (i != Items.size()) States[i] = Taken;
          return true;
        });
        if (stop || i == Items.size()) return;
        Make(i, Texts[i]);
        self.Share([this, i] { States[i] = Made; });
      }
    });
  }
  // The classes and functions whose text a source holds: those of files compiled now, not
  // extern ones.
  static bool Written(const TASTNode* item) {
    return item->IsExtern == 0 && (item->Root() == nullptr || !item->Root()->IsCompiled);
  }
  // The check is done with the first count functions.
  void SetChecked(size_t count) {
    Work->Share([this, count] { Checked = count; });
  }
  // Writes the class's or function's text: the one made ahead, or made now when the work has
  // not taken it. False when it is none of the program's.
  bool Write(const TASTNode* item, TTextFileWriter& out) {
    const auto place = Places.find(item);
    if (place == Places.end() || !Work->OnThread()) return false;
    const size_t i = place->second;
    Places.erase(place);  // written once: a text asked for again is made anew
    if (Take(i, out.Text)) {
      out.Pause();
    } else {
      out.Write(Texts[i]);
      std::string().swap(Texts[i]);
    }
    return true;
  }
  // Whether every text made ahead has been written.
  bool AllWritten() const { return Places.empty() && HeaderPlaces.empty(); }
  // The text of the class's header, the same way.
  bool Header(const TClassNode* cls, std::string& text) {
    const auto place = HeaderPlaces.find(cls);
    if (place == HeaderPlaces.end() || !Work->OnThread()) return false;
    const size_t i = place->second;
    HeaderPlaces.erase(place);
    if (!Take(i, text)) text = std::move(Texts[i]);
    return true;
  }
  // Stops the work wherever it is, when the program's text is never asked for (a report it
  // holds back is not given then).
  ~TTextsAhead() {
    Work->Share([this] { Stopping = true; });
    Work->Abandon();
  }

 private:
  enum TState : uint8_t { Free, Taken, Made, Writer };
  void Make(size_t i, std::string& text) {
    if (IsHeader(i))
      text += ClassHeaderText(static_cast<TClassNode*>(Items[i]), "");
    else
      AppendItemCode(text, Items[i], "");
  }
  // Makes the item's text into the text given when the work has not taken it (true), or waits
  // until the work has made it (false).
  bool Take(size_t i, std::string& text) {
    bool mine = false;
    const bool done = Work->WaitFor([this, i, &mine] {
      Writing = true;
      if (States[i] == Free) {
        States[i] = Writer;
        mine = true;
      }
      return mine || States[i] == Made;
    });
    if (!done) Work->Finish();  // gives the report the work held back
    if (mine || !done) Make(i, text);
    return mine || !done;
  }
  // Whether the check is done with the item.
  bool Ready(size_t i) const {
    return i < Classes || IsHeader(i) || Checked > i - Classes;
  }
  bool IsHeader(size_t i) const { return i >= Items.size() - Classes; }
  std::vector<TASTNode*> Items;
  const size_t Classes;  // each class comes twice: its text first, its header last
  std::vector<std::string> Texts;
  std::unordered_map<const TASTNode*, size_t> Places;
  std::unordered_map<const TASTNode*, size_t> HeaderPlaces;
  // Shared under the work's lock: functions checked, each item's state, whether the files are
  // being written, the end of the work.
  size_t Checked = 0;
  bool Writing = false;
  std::vector<TState> States;
  bool Stopping = false;
  std::optional<TBesideWork> Work;
};

std::unique_ptr<TTextsAhead> Ahead;

}  // namespace

TCPPProgramNode* TCPPProgramNode::Create() { return new TCPPProgramNode(); }

void TCPPProgramNode::FunctionBodiesChecked(size_t count) {
  if (count == 0) {
    // A new check: the texts of a program checked before are not asked for any more.
    Ahead.reset();
    const std::vector<TFunctionNode*> functions(Functions.begin(), Functions.end());
    const std::vector<TClassNode*> classes(Classes.begin(), Classes.end());
    size_t lines = 0;
    auto add = [&lines](const TASTNode* item) {
      if (TTextsAhead::Written(item)) lines += LineSpan(item);
    };
    std::for_each(functions.begin(), functions.end(), add);
    std::for_each(classes.begin(), classes.end(), add);
    // Below a few thousand lines a thread costs more than it saves.
    if (lines >= 4000 && TBesideWork::Available())
      Ahead = std::make_unique<TTextsAhead>(classes, functions);
    return;
  }
  if (Ahead) Ahead->SetChecked(count);
}

std::string TCPPProgramNode::GenerateStandardIncludes() {
  // The C library's own declarations (noexcept, C linkage), so a program may still include
  // <math.h> itself.
  return "#include <stdint.h>\n"
         "#include <stddef.h>\n"
         "extern \"C\" float powf(float, float) noexcept;\n"
         "extern \"C\" double pow(double, double) noexcept;\n"
         "extern \"C\" float fmodf(float, float) noexcept;\n"
         "extern \"C\" double fmod(double, double) noexcept;\n";
}

std::string TCPPProgramNode::GenerateClassPrototypes(const std::string& indent) {
  return Prototypes(Dependencies, indent);
}

std::string TCPPProgramNode::GenerateHeaderCode(const std::string& indent) {
  std::string text = GenerateClassPrototypes(indent);
  if (!text.empty()) text += "\n\n";
  bool declared = false;
  for (TStatementNode* statement : Statements) {
    TVariableDeclNode* declaration = AsDeclaration(statement);
    if (declaration == nullptr || declaration->IsExtern != 0) continue;
    declared = true;
    if (declaration->DeclKind == DECL_GLOBAL) {
      text += "extern ";
      CPP(declaration)->AppendDeclarationCode(text, indent, "", "");
      text += ";\n";
    } else if (declaration->DeclKind == DECL_CONST) {
      CPP(declaration)->AppendImplementationCode(text, indent, "", "");
      text += ";\n";
    }
  }
  if (declared) text += "\n";
  // A function whose default value is a function comes after the other prototypes, so that
  // the function it names is declared.
  auto namesFunction = [](TFunctionNode* function) {
    for (TVariableDeclNode* parameter : function->Parameters)
      if (parameter->Value != nullptr && parameter->Datatype != nullptr && parameter->Datatype->IsFunction())
        return true;
    return false;
  };
  for (int late = 0; late < 2; ++late)
    for (TFunctionNode* function : Functions)
      if (function->IsExtern == 0 && namesFunction(function) == (late == 1)) {
        CPP(function)->AppendDeclarationCode(text, indent, "");
        text += ";\n";
      }
  return text;
}

std::string TCPPProgramNode::GenerateClassHeaderCode(const std::string& indent, TClassNode* cls) {
  std::string text;
  if (indent.empty() && Ahead && Ahead->Header(cls, text)) return text;
  return ClassHeaderText(cls, indent);
}

std::string TCPPProgramNode::GenerateCode(const std::string& indent) {
  TTextFileWriter text;
  WriteCode(text, indent);
  return std::move(text.Text);
}

void TCPPProgramNode::WriteCode(TTextFileWriter& out, const std::string& indent) {
  std::string& text = out.Text;
  for (TStatementNode* statement : Statements) {
    TVariableDeclNode* declaration = AsDeclaration(statement);
    if (declaration == nullptr || declaration->IsExtern != 0) continue;
    if (declaration->DeclKind != DECL_GLOBAL) continue;
    // The definition holds the default value; the declared value is assigned in the main
    // function, in the order of the program's statements.
    CPP(declaration)->AppendDeclarationCode(text, indent, "", "");
    text += " = ";
    text += declaration->Datatype->GenerateAutoValue(indent);
    text += ";\n";
    out.Pause();
  }
  if (!Statements.empty()) text += "\n";
  // The functions, then the classes: those of a long program were made while it was checked
  // (see TTextsAhead), the others are made here.
  for (TFunctionNode* function : Functions) {
    if (function->IsExtern != 0) continue;
    const bool ahead = Ahead && indent.empty() && Ahead->Write(function, out);
    if (!ahead) AppendItemCode(text, function, indent);
    out.Pause();
  }
  for (TClassNode* cls : Classes) {
    if (cls->IsExtern != 0) continue;
    const bool ahead = Ahead && indent.empty() && Ahead->Write(cls, out);
    if (!ahead) AppendItemCode(text, cls, indent);
    out.Pause();
  }
  // The work ends with its last text written.
  if (Ahead && Ahead->AllWritten()) Ahead.reset();
  text += "\n";
  text += GenerateMain(indent);
}

std::string TCPPProgramNode::GenerateMainIdentifier() {
  const std::string& path = SourceFile().str();
  // A module's files are named after their place in the module tree, so that a program file of
  // the same name ("Math.zn") gives another function.
  const std::string place = PlaceInModuleTree(path);
  if (!place.empty()) return "__zn_" + IdentifierFromText(StripExtension(place)) + "Main";
  const size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  std::string identifier;
  for (char c : name) {
    const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    if ((lower >= 'a' && lower <= 'z') || (lower >= '0' && lower <= '9') || lower == '_')
      identifier += c;
  }
  // A name must not start with a digit ("2048.zn").
  const bool digitFirst = !identifier.empty() && identifier[0] >= '0' && identifier[0] <= '9';
  return (digitFirst ? std::string("_") : std::string()) + identifier + "Main";
}

std::string TCPPProgramNode::GenerateMain(const std::string& indent) {
  const std::string i = indent + "\t";
  std::string text = indent + "void " + GenerateMainIdentifier() + "() {\n";
  // The globals of the file's classes get their values in source order among the statements,
  // as the file's own globals do.
  std::vector<TClassNode*> initialised;
  for (TClassNode* cls : Classes)
    if (cls->IsExtern == 0 && static_cast<TCPPClassNode*>(cls)->HasGlobalValues())
      initialised.push_back(cls);
  size_t nextClass = 0;
  auto assignClassGlobals = [&](int32_t beforeLine) {
    for (; nextClass < initialised.size() && initialised[nextClass]->StartLine < beforeLine; ++nextClass)
      text += i + CPPIdentifier(initialised[nextClass]->Identifier) + "::__InitGlobals();\n";
  };
  for (TStatementNode* statement : Statements) {
    if (statement->IsExtern != 0) continue;
    assignClassGlobals(statement->StartLine);
    TVariableDeclNode* declaration = AsDeclaration(statement);
    if (declaration == nullptr) {
      AppendNodeCode(text, statement, i);
      text += ";\n";
    } else if (declaration->DeclKind == DECL_GLOBAL) {
      text += i + CPPIdentifier(declaration->Identifier) + " = ";
      if (declaration->Value != nullptr)
        AppendNodeCode(text, declaration->Value, i);
      else
        text += declaration->Datatype->GenerateAutoValue(i);
      text += ";\n";
    } else if (declaration->DeclKind != DECL_CONST) {
      AppendNodeCode(text, declaration, i);
      text += ";\n";
    }
  }
  assignClassGlobals(INT32_MAX);
  text += indent + "}\n";
  return text;
}

}  // namespace zintrel
