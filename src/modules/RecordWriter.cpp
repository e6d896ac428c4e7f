// The dependency record writer: the "Imports:" section (source files, modules, C/C++ imports and
// libraries) and the "Exports:" section (one line per declaration, class blocks).
#include <cstdio>
#include <set>

#include "driver/Compiler.h"
#include "support/Paths.h"
#include "model/ClassNode.h"
#include "model/Datatype.h"
#include "model/FunctionNode.h"
#include "model/ProgramNode.h"
#include "model/VariableDeclNode.h"
#include "modules/DependencyNode.h"
#include "support/Files.h"
#include "semantics/Expression.h"

namespace zintrel {

namespace {

const char* KindWord(int32_t kind) {
  switch (kind) {
    case DECL_CONST:
      return "Const";
    case DECL_LOCAL:
      return "Local";
    case DECL_FIELD:
      return "Field";
    case DECL_GLOBAL:
      return "Global";
    default:
      return nullptr;
  }
}

// The evaluated value of a checked constant, as its record writes it after "=".
std::string ConstantText(TExpressionNode* value, const TDatatype* type) {
  if (value == nullptr || type == nullptr) return "";
  value->EvaluateResult();
  const int32_t kind = type->TypeKind;
  if (kind >= TYPE_BYTE && kind <= TYPE_LONG) return std::to_string(value->GetCastedIntResult());
  // A Bool constant keeps its value too (as 0 or 1): a constant expression of another file
  // folding it must see the same value whether that file was parsed or read from its record.
  if (kind == TYPE_BOOL) return value->GetCastedIntResult() != 0 ? "1" : "0";
  if (kind == TYPE_FLOAT || kind == TYPE_DOUBLE) {
    char text[64];
    std::snprintf(text, sizeof text, "%#.17lg", value->GetCastedDoubleResult());
    return text;
  }
  return "";
}

bool IsSourceImport(const std::string& import) {
  static const std::set<std::string> other = {"h", "hpp", "hxx", "c", "cpp", "cxx", "o", "a", "so", ""};
  return other.count(ToLower(ExtensionPart(import))) == 0;
}

}  // namespace

std::string TVariableDeclNode::ToString() const {
  const char* kind = KindWord(DeclKind);
  if (kind == nullptr) Abort("Invalid variable scope", this);
  std::string line = TASTNode::ToString() + " " + kind + " " + Identifier + ":" + TypeText(Datatype);
  if (DeclKind == DECL_CONST && Value != nullptr && CorrectnessChecked) {
    line += '=';
    line += ConstantText(Value, Datatype);
  }
  return line;
}

std::string TFunctionNode::ToString() const {
  std::string line = TASTNode::ToString() + (IsMethod ? " Method " : " Function ");
  if (IsConstructor && ParentClass != nullptr) {
    line += ParentClass->Identifier;
  } else if (IsConstructor && Parent != nullptr && NodeCast<TClassNode>(Parent) != nullptr) {
    line += static_cast<TClassNode*>(Parent)->Identifier;
  } else {
    line += Identifier;
    // A constructor's return type is its class, which the reader restores.
    if (ReturnDatatype != nullptr && !ReturnDatatype->IsVoid()) {
      line += ':';
      line += TypeText(ReturnDatatype);
    }
  }
  line += "(";
  for (size_t i = 0; i < Parameters.size(); ++i) {
    const TVariableDeclNode* parameter = Parameters[i];
    if (i != 0) line += ", ";
    if (parameter == nullptr) continue;
    line += parameter->Identifier + ":" + TypeText(parameter->Datatype);
    if (parameter->Value != nullptr) line += "=";
  }
  line += ")";
  if (IsAbstract) line += " Abstract";
  if (IsFinal) line += " Final";
  return line;
}

int TClassNode::ToStream(std::vector<std::string>& lines) const {
  std::string head = TASTNode::ToString() + " Class " + Identifier;
  if (!ClassParents.empty()) {
    head += " Extends";
    for (const TClassParent& parent : ClassParents)
      head += " " + (parent.Class != nullptr ? parent.Class->Identifier.str() : parent.Name);
  }
  if (AbstractFlag) head += " Abstract";
  if (IsFinal) head += " Final";
  lines.push_back(head);
  auto visibilityOf = [](const TFunctionNode* f) {
    return f->Declaration != nullptr ? f->Declaration->Visibility : VISIBILITY_PUBLIC;
  };
  for (int32_t visibility : {VISIBILITY_PUBLIC, VISIBILITY_PRIVATE, VISIBILITY_PROTECTED}) {
    if (visibility == VISIBILITY_PRIVATE) lines.emplace_back("Private");
    if (visibility == VISIBILITY_PROTECTED) lines.emplace_back("Protected");
    for (const TVariableDeclNode* variable : Variables)
      if (variable->Visibility == visibility) lines.push_back(variable->ToString());
    if (Constructor != nullptr && visibilityOf(Constructor) == visibility)
      lines.push_back(Constructor->ToString());
    for (const TFunctionNode* method : Methods)
      if (visibilityOf(method) == visibility) lines.push_back(method->ToString());
    for (const TFunctionNode* function : Functions)
      if (visibilityOf(function) == visibility) lines.push_back(function->ToString());
  }
  lines.emplace_back("EndClass");
  return 0;
}

int TProgramNode::ToStream(std::vector<std::string>& lines) const {
  for (const TStatementNode* statement : Statements) {
    auto* declaration = dynamic_cast<const TVariableDeclNode*>(statement);
    if (declaration == nullptr ||
        (declaration->DeclKind != DECL_CONST && declaration->DeclKind != DECL_GLOBAL))
      continue;
    if (declaration->IsExtern) lines.emplace_back("Extern");
    lines.push_back(declaration->ToString());
  }
  for (const TFunctionNode* function : Functions) {
    if (function->IsExtern) lines.emplace_back("Extern");
    lines.push_back(function->ToString());
  }
  for (const TClassNode* c : Classes) {
    if (c->IsExtern) lines.emplace_back("Extern");
    c->ToStream(lines);
  }
  return 0;
}

std::vector<std::string> TCompiler::DependencyLines(TProgramNode* root) const {
  std::vector<std::string> lines{"Imports:"};
  const std::string source = root->SourceFile();
  if (root == MainRoot) {
    for (const TProgramNode* other : Roots)
      if (other != root) lines.push_back("File " + RelativePath(source, other->SourceFile().str()));
  } else {
    // The files whose declarations this one uses, and every source file it imports: a file
    // rebuilt from its record must still bring in the files it imports, used or not.
    std::set<std::string> listed;
    auto addFile = [&](const std::string& path) {
      if (listed.insert(path).second) lines.push_back("File " + RelativePath(source, path));
    };
    if (root->Dependencies != nullptr) {
      for (const auto& [key, uses] : root->Dependencies->Dependencies)
        if (key != root->Dependencies && !key->IsModule && !key->CodePath.empty())
          addFile(key->CodePath);
    }
    const std::string folder = FolderPart(source);
    for (const std::string& import : root->FileImports)
      if (IsSourceImport(import)) addFile(FullPath(folder + "/" + import));
  }
  if (root->Dependencies != nullptr) {
    const std::string prefix = TPaths::ModuleRoot + "/";
    for (const auto& [key, uses] : root->Dependencies->Dependencies) {
      if (!key->IsModule) continue;
      std::string scope = FolderPart(AbsolutePath(key->CodePath));
      if (scope.compare(0, prefix.size(), prefix) == 0) scope.erase(0, prefix.size());
      for (char& c : scope)
        if (c == '/') c = '.';
      lines.push_back("Module " + scope);
    }
  }
  // Object files are listed too (as written): a file rebuilt from its record must still bring
  // its objects to the link.
  for (const auto* list :
       {&root->Includes, &root->CompileTargets, &root->LinkTargets, &root->Libraries})
    for (const std::string& entry : *list) lines.push_back("File " + entry);
  lines.emplace_back("\nExports:");
  root->ToStream(lines);
  return lines;
}

int TCompiler::GenerateDependenciesFile(TProgramNode* root, std::string path) {
  if (root == nullptr) return 0;
  if (path.empty()) path = GenerateTargetPath(root->SourceFile()) + ".dep";
  TLineWriter out;
  if (!out.Open(path)) Abort("Failed to write dependency file at '" + path + "'");
  for (const std::string& line : DependencyLines(root)) out.WriteLine(line);
  if (!out.Close()) Abort("Failed to write dependency file at '" + path + "'");
  return 0;
}

}  // namespace zintrel
