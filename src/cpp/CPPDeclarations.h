#pragma once
// The C++ target's declaration nodes: types, variables, functions, classes and the program node,
// with the C++ text of declarations and of a file's translation units.
#include <string>

#include "model/AllNodes.h"

namespace zintrel {

class TTextFileWriter;

class TCPPProgramNode : public TProgramNode {
 public:
  static TCPPProgramNode* Create();
  // The body of the file's source: globals, functions, class members and the file's main
  // function.
  std::string GenerateCode(const std::string& indent) override;
  // The same text, appended to the writer's, which sends it to its file piece by piece.
  void WriteCode(TTextFileWriter& out, const std::string& indent);
  // A long program's class headers, classes and functions get their text on the second
  // processor as soon as they are checked, while the check goes on with the next ones;
  // GenerateClassHeaderCode and WriteCode take the texts made.
  void FunctionBodiesChecked(size_t count) override;
  // The body of the file's header: class prototypes, globals, constants and prototypes.
  std::string GenerateHeaderCode(const std::string& indent);
  // The body of a class's header: class prototypes, then the class declaration.
  std::string GenerateClassHeaderCode(const std::string& indent, TClassNode* cls);
  // Forward declarations of the program classes this file uses.
  std::string GenerateClassPrototypes(const std::string& indent);
  // The name of the function running the file's program-level statements: the file name
  // without folder and extension, reduced to letters, digits and "_", followed by "Main".
  std::string GenerateMainIdentifier();
  std::string GenerateMain(const std::string& indent);
  // What every generated header starts with: the C declarations generated code relies on
  // (fixed-width integers, NULL, the power and remainder functions) without the rest of the
  // C library's names, which would collide with a program's own.
  static std::string GenerateStandardIncludes();
};

class TCPPFunctionNode : public TFunctionNode {
 public:
  // Functions are written through the two operations below; their statement text is "".
  std::string GenerateCode(const std::string& indent) override;
  // The prototype; parameters carry their default values.
  std::string GenerateDeclarationCode(const std::string& indent, const std::string& prefix);
  void AppendDeclarationCode(std::string& out, const std::string& indent,
                             const std::string& prefix);
  // The definition with its body; a body that can fall off its end returns the default value
  // (a constructor returns the object).
  std::string GenerateImplementationCode(const std::string& indent, const std::string& prefix,
                                         const std::string& qualifier);
  void AppendImplementationCode(std::string& out, const std::string& indent,
                                const std::string& prefix, const std::string& qualifier);
  // A definition of this method under qualifier that passes its arguments on to the version
  // of the class named target ("int32_t D::m(int32_t a) { return B::m(a); }").
  std::string GenerateForwardingCode(const std::string& indent, const std::string& qualifier,
                                     const std::string& target);
};

class TCPPClassNode : public TClassNode {
 public:
  // The out-of-class definitions of the members and the default constructor.
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
  std::string GeneratePrototypeCode(const std::string& indent);
  // The struct declaration, without the closing ";".
  std::string GenerateDeclarationCode(const std::string& indent);
  // True when a class global has a written value, which a start function of the class assigns.
  bool HasGlobalValues() const;
};

class TCPPVariableDeclNode : public TVariableDeclNode {
 public:
  // A local variable where it is declared, always initialised.
  std::string GenerateCode(const std::string& indent) override;
  void AppendCode(std::string& out, const std::string& indent) override;
  // indent + prefix + the declaration of qualifier + name, without value and without ";".
  void AppendDeclarationCode(std::string& out, const std::string& indent,
                             const std::string& prefix, const std::string& qualifier);
  // The same, followed by " = " and the value when there is one.
  void AppendImplementationCode(std::string& out, const std::string& indent,
                                const std::string& prefix, const std::string& qualifier);
};

class TCPPDatatype : public TDatatype {
 public:
  // The C++ type; name is the declarator name of function types and is ignored otherwise.
  std::string GenerateCode(const std::string& name) override;
  void AppendCode(std::string& out, const std::string& name) override;
  std::string GenerateAutoValue(const std::string& text) override;
  // The declaration of name with this type: "int32_t x", or the name inside the declarator
  // of function types ("int32_t (*f) (double)").
  void AppendDeclarator(std::string& out, const std::string& name);
  // 1 when the type's C++ text must hold the declared name inside it (function types and
  // pointers to them).
  int NeedsDeclarator() const;
};

}  // namespace zintrel
