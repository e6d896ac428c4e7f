// The C++ files written around the back end's code: a header and a source per parsed file, a
// header per class, the project source with main, and a module's header. Includes are chosen
// from the dependency graph: a file includes the headers of the files and modules whose
// declarations it uses.
#include "cpp/CPPNodes.h"
#include "driver/Compiler.h"
#include "modules/DependencyNode.h"
#include "modules/Module.h"
#include "support/Files.h"
#include "support/Paths.h"
#include "support/Text.h"

namespace zintrel {

namespace {

void WriteGeneratedFile(const std::string& path, const std::string& text) {
  if (!WriteFileBytes(path, text)) TCompiler::Abort("Unable to write file " + path);
}

// Like WriteGeneratedFile, but a file that already holds the text keeps its time; true when
// the file was written.
bool WriteGeneratedFileIfChanged(const std::string& path, const std::string& text) {
  std::string old;
  if (ReadFileBytes(path, old) && old == text) return false;
  WriteGeneratedFile(path, text);
  return true;
}

std::string IncludeLine(const std::string& path) { return "#include \"" + path + "\"\n"; }

std::string ClassTargetPath(const TClassNode* c) {
  return TCompiler::GenerateClassTargetPath(c->Root() != nullptr ? c->Root()->SourceFile().str() : "",
                                            c->Identifier);
}

// A program file's node: one the file's own headers and sources can include.
bool IsProgramFile(const TDependencyNode* node, const TDependencyNode* own) {
  return node != own && !node->IsModule && !node->CodePath.empty();
}

TCPPProgramNode* CodeOf(TProgramNode* root) { return static_cast<TCPPProgramNode*>(root); }

}  // namespace

std::string TCompiler::GenerateModuleIncludes(TDependencyNode* node, const std::string& from,
                                              const TLinkMap* skip) {
  std::string text;
  if (node == nullptr) return text;
  for (auto& [used, uses] : node->Dependencies) {
    if (!used->IsModule || used->CodePath.empty()) continue;
    if (skip != nullptr && skip->count(used) != 0) continue;
    // Declarations that only the file's own Extern blocks use need no header.
    bool needed = false;
    for (auto& [declaration, user] : uses) needed = needed || (user != nullptr && !user->IsExtern);
    if (needed) text += IncludeLine(GenerateRelativeTargetPath(from, used->CodePath, true) + ".h");
  }
  return text;
}

std::string TCompiler::GenerateClassIncludes(TProgramNode* root, const std::string& from) {
  std::string text;
  for (TClassNode* c : root->Classes)
    if (!c->IsExtern) text += IncludeLine(RelativePath(from, ClassTargetPath(c)) + ".h");
  if (root->Dependencies == nullptr) return text;
  for (auto& [used, uses] : root->Dependencies->Dependencies) {
    if (!IsProgramFile(used, root->Dependencies)) continue;
    for (auto& [declaration, user] : uses) {
      auto* c = NodeCast<TClassNode>(declaration);
      if (c != nullptr && !c->IsExtern)
        text += IncludeLine(RelativePath(from, ClassTargetPath(c)) + ".h");
    }
  }
  return text;
}

int TCompiler::GenerateRootHeader(TProgramNode* root) {
  const std::string header = GenerateTargetPath(root->SourceFile()) + ".h";
  std::string text = GenerateIncludeGuard(BareName(root->SourceFile().str()));
  text += TCPPProgramNode::GenerateStandardIncludes();
  for (const std::string& include : root->Includes) text += IncludeLine(RelativePath(header, include));
  // Modules the file imports are included by their absolute paths; a wildcard import names a
  // folder of modules, which has no header of its own (those used come in below).
  TLinkMap imported;
  for (const std::string& import : root->ModuleImports) {
    TModule* module = ModuleTree != nullptr ? ModuleTree->Find(import) : nullptr;
    if (module == nullptr) Abort("Fatal compiler error: Unloaded module passed semantic check: " + import);
    if (module->IsModule == 0 || module->CodePath.empty()) continue;
    text += IncludeLine(GenerateModuleTargetPath(module->CodePath) + ".h");
    if (module->Dependencies != nullptr) imported[module->Dependencies] = 0;
  }
  text += GenerateModuleIncludes(root->Dependencies, header, &imported);
  text += "\nvoid ";
  text += CodeOf(root)->GenerateMainIdentifier();
  text += "();\n\n";
  text += CodeOf(root)->GenerateHeaderCode("");
  text += "\n#endif\n";
  WriteGeneratedFile(header, text);
  for (TClassNode* c : root->Classes)
    if (!c->IsExtern) GenerateClassHeader(root, c);
  return 0;
}

int TCompiler::GenerateClassHeader(TProgramNode* root, TClassNode* c) {
  const std::string header = ClassTargetPath(c) + ".h";
  std::string text = GenerateIncludeGuard(BareName(header));
  text += TCPPProgramNode::GenerateStandardIncludes();
  for (const std::string& include : root->Includes) text += IncludeLine(RelativePath(header, include));
  text += GenerateModuleIncludes(c->Dependencies, header, nullptr);
  if (!root->Includes.empty()) text += "\n";
  // Parents from modules come in through the module headers; external ones have no header.
  for (const TClassParent& parent : c->ClassParents) {
    const TClassNode* p = parent.Class;
    if (p == nullptr || p->IsExtern || (p->Root() != nullptr && p->Root()->IsModule)) continue;
    text += IncludeLine(RelativePath(header, ClassTargetPath(p)) + ".h");
  }
  if (!c->ClassParents.empty()) text += "\n";
  text += CodeOf(root)->GenerateClassHeaderCode("", c);
  text += "\n\n#endif\n";
  WriteGeneratedFile(header, text);
  return 0;
}

int TCompiler::GenerateRootCode(TProgramNode* root) {
  const std::string target = GenerateTargetPath(root->SourceFile());
  const std::string source = target + ".cpp";
  // A file's source is as long as its program: it goes to its file as it is generated.
  TTextFileWriter out;
  out.Open(source);
  std::string& text = out.Text;
  text = IncludeLine(RelativePath(source, target + ".h")) + "\n";
  if (root->Dependencies != nullptr)
    for (auto& [used, uses] : root->Dependencies->Dependencies)
      if (IsProgramFile(used, root->Dependencies))
        text += IncludeLine(GenerateRelativeTargetPath(source, used->CodePath, false) + ".h");
  text += GenerateClassIncludes(root, source);
  text += "\n";
  CodeOf(root)->WriteCode(out, "");
  if (!out.Close()) Abort("Unable to write file " + source);
  return 0;
}

namespace {

// The calls of the files' main functions, one a line: the main file's last.
// The declarations of the files' main functions, for the sources that call them.
std::string MainDeclarations(const std::vector<TProgramNode*>& roots) {
  std::string text;
  for (TProgramNode* root : roots) {
    text += "void ";
    text += CodeOf(root)->GenerateMainIdentifier();
    text += "();\n";
  }
  return text;
}

std::string MainCalls(const std::vector<TProgramNode*>& roots, TProgramNode* mainRoot) {
  std::string text;
  auto call = [&text](TProgramNode* root) {
    text += '\t';
    text += CodeOf(root)->GenerateMainIdentifier();
    text += "();\n";
  };
  for (TProgramNode* root : roots)
    if (root != mainRoot) call(root);
  call(mainRoot);
  return text;
}

}  // namespace

std::string TCompiler::ModuleInitIdentifier(const std::string& codePath) {
  const std::string place = PlaceInModuleTree(codePath);
  return "__ZintrelModule_" + IdentifierFromText(place.empty() ? FullPath(codePath) : place);
}

int TCompiler::GenerateModuleInitCode() {
  // Written in every module build, whichever of its files were taken from their records, so
  // that it always runs the top-level code of the files the module has now.
  const std::string source = GenerateModuleTargetPath(MainPath) + "Init.cpp";
  std::string text = MainDeclarations(Roots);
  text += "\nvoid " + ModuleInitIdentifier(MainPath) + "() {\n";
  // As in a program: the imported files first, in the order they were first imported.
  text += MainCalls(Roots, MainRoot);
  text += "}\n";
  WriteGeneratedFile(source, text);
  return 0;
}

int TCompiler::GenerateProjectCode(const std::vector<TDependencyNode*>& modules) {
  const std::string source = GenerateProjectTargetPath() + ".cpp";
  TModule* appInit = ModuleTree != nullptr ? ModuleTree->Find(APPINIT_MODULE) : nullptr;
  if (appInit == nullptr) Abort(std::string("Unable to find module '") + APPINIT_MODULE + "'");
  const std::string appInitHeader = GenerateModuleTargetPath(appInit->CodePath) + ".h";
  // The files' main functions are declared here rather than through the files' headers: those
  // bring the C and C++ headers the files import (whose static objects would be made once more)
  // and change whenever a file does, which would make this source compile again every time.
  std::string text = IncludeLine(GenerateRelativeTargetPath(source, appInit->CodePath, true) + ".h");
  text += MainDeclarations(Roots);
  // Linked modules come in link order, each before the modules it uses: their code runs in
  // the reverse order.
  std::vector<std::string> starts;
  for (auto it = modules.rbegin(); it != modules.rend(); ++it)
    starts.push_back(ModuleInitIdentifier((*it)->CodePath));
  for (const std::string& start : starts) text += "void " + start + "();\n";
  text += "int main(int argc, const char *argv[]) {\n\t__ZintrelAppInit(argc, argv);\n";
  for (const std::string& start : starts) text += "\t" + start + "();\n";
  // The top-level code of imported files runs first, in the order they were first imported.
  text += MainCalls(Roots, MainRoot);
  text += "\treturn 0;\n}\n";
  // Everything it calls it declares itself; only the start-up's header can change its object.
  const bool written = WriteGeneratedFileIfChanged(source, text);
  const int64_t object = FileTime(GenerateProjectTargetPath() + ".o");
  ProjectNeedsCompile = written || ForceRecompile != 0 || object <= FileTime(source) ||
                        object <= FileTime(appInitHeader);
  return 0;
}

int TCompiler::GenerateModuleHeaderFile(const std::string& path) {
  std::vector<std::string> lines;
  for (TProgramNode* root : Roots) {
    lines.push_back("#include \"" + RelativePath(path, GenerateTargetPath(root->SourceFile())) + ".h\"");
    for (TClassNode* c : root->Classes)
      if (!c->IsExtern) lines.push_back("#include \"" + RelativePath(path, ClassTargetPath(c)) + ".h\"");
  }
  if (!WriteTextLines(path, lines)) Abort("Unable to write file " + path);
  return 0;
}

int TCompiler::ResolveModuleLinkDependencies(TDependencyNode* node, TLinkMap& linkMap) {
  std::vector<TDependencyNode*> work{node};
  for (size_t next = 0; next < work.size(); ++next) {
    TDependencyNode* current = work[next];
    if (current == nullptr || !linkMap.emplace(current, static_cast<int>(linkMap.size())).second)
      continue;
    for (auto& [used, uses] : current->Dependencies) work.push_back(used);
  }
  return 0;
}

std::vector<TDependencyNode*> TCompiler::ModulesInLinkOrder(const TLinkMap& linkMap) {
  // Depth first, each module after everything it uses; reversed at the end.
  std::vector<TDependencyNode*> order;
  std::map<TDependencyNode*, bool, TBySequence> done;  // false while on the walk's path
  for (auto& [start, unused] : linkMap) {
    if (done.count(start) != 0) continue;
    std::vector<std::pair<TDependencyNode*, bool>> pending{{start, false}};
    while (!pending.empty()) {
      auto [node, finished] = pending.back();
      pending.pop_back();
      if (finished) {
        done[node] = true;
        order.push_back(node);
        continue;
      }
      if (done.count(node) != 0) continue;
      done[node] = false;
      pending.push_back({node, true});
      for (auto& [used, uses] : node->Dependencies)
        if (used != node && linkMap.count(used) != 0 && done.count(used) == 0)
          pending.push_back({used, false});
    }
  }
  std::vector<TDependencyNode*> modules;
  for (auto it = order.rbegin(); it != order.rend(); ++it)
    if ((*it)->IsModule && !(*it)->CodePath.empty()) modules.push_back(*it);
  return modules;
}

}  // namespace zintrel
