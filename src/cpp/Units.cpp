// The program-specific text of a file's header, class headers and source, and the file's main
// function.
#include <algorithm>
#include <optional>
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

}  // namespace

TCPPProgramNode* TCPPProgramNode::Create() { return new TCPPProgramNode(); }

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
  // The classes the class's own members are declared with: all a class declaration needs.
  // The file's whole list would give a file of n classes n headers of n lines each.
  std::string text = Prototypes(cls->Dependencies, indent);
  if (!text.empty()) text += "\n\n";
  text += static_cast<TCPPClassNode*>(cls)->GenerateDeclarationCode(indent) + ";\n";
  return text;
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
  // The functions, then the classes. Their texts depend on nothing but their own nodes and the
  // checked program, so a long file's later ones are generated on the second processor, into a
  // text of their own that follows the earlier ones.
  std::vector<TASTNode*> items;
  auto span = [](const TASTNode* item) {
    return static_cast<size_t>(std::max(item->EndLine - item->StartLine + 1, 1));
  };
  size_t lines = 0;
  for (TFunctionNode* function : Functions)
    if (function->IsExtern == 0) items.push_back(function);
  for (TClassNode* cls : Classes)
    if (cls->IsExtern == 0) items.push_back(cls);
  for (TASTNode* item : items) lines += span(item);
  auto append = [&indent](std::string& into, TASTNode* item) {
    if (auto* function = NodeCast<TFunctionNode>(item))
      CPP(function)->AppendImplementationCode(into, indent, "", "");
    else
      AppendNodeCode(into, item, indent);
    into += "\n\n";
  };
  // Below a few thousand lines a thread costs more than it saves. The later part starts at the
  // item that reaches half of the lines.
  size_t split = items.size();
  if (lines >= 4000 && TBesideWork::Available()) {
    size_t before = 0;
    for (size_t i = 0; i < items.size() && split == items.size(); ++i) {
      before += span(items[i]);
      if (before * 2 >= lines) split = i + 1;
    }
  }
  std::string later;
  std::optional<TBesideWork> work;
  if (split < items.size())
    work.emplace([&, split, lines] {
      TASTNode::InitStackLimit();
      // Room for the whole text at once (a line gives some 45 bytes of C++), so that it is not
      // copied as it grows; pages never written cost nothing.
      later.reserve(lines * 32);
      for (size_t i = split; i < items.size(); ++i) append(later, items[i]);
    });
  for (size_t i = 0; i < split; ++i) {
    append(text, items[i]);
    out.Pause();
  }
  if (work) {
    work->Finish();
    text += later;
    out.Pause();
  }
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
