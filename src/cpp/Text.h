#pragma once
// Text helpers shared by every C++ generator: indentation, declared names, string literals,
// number texts, and appending a node's text straight into the text being built.
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace zintrel {

class TASTNode;
class TExpressionNode;

// Blocks are indented by one more tab than the statement that opens them.
inline std::string Deeper(const std::string& indent) { return indent + '\t'; }

// The C++ spelling of a declared name. A program's names may be C++ keywords ("template",
// "char", "xor"), which g++ cannot take as names; those are written "__zn_" + name, a spelling
// in the runtime's reserved prefix that no program name can have. Every other name is kept.
std::string CPPIdentifier(const std::string& name);
void AppendCPPIdentifier(std::string& out, const std::string& name);

// The text of a string literal between its double quotes: backslashes doubled, line feeds as \n.
// Other control characters become octal escapes and a "?" after a "?" is escaped, so that no
// byte of the text can end the literal, start a trigraph or draw a warning.
void AppendEscapedText(std::string& out, std::string_view text);
std::string EscapedText(std::string_view text);

// Number texts as the generated code writes them. Reals are formatted in the C locale whatever
// the process locale is; infinities and NaN (which have no literal) become builtins.
std::string DecimalText(int64_t value);                 // Byte, Short, Int: 42
std::string LongText(int64_t value);                    // 42LL
std::string UnsignedText(int64_t value);                // 42U
// UByte and UShort: ((uint8_t)42), which C++ promotes to int as it does their variables; a
// plain 42U would make the other operand of its operation unsigned.
std::string NarrowUnsignedText(int64_t value, int32_t kind);
std::string ULongText(int64_t value);                   // 42ULL; above the signed range -1ULL
std::string FloatText(float value);                     // 1.50000000f
std::string DoubleText(double value);                   // 1.5000000000000000
// A real as printf's "%#.<digits>g" writes it in the C locale (Float 9 digits, Double 17).
std::string RealText(double value, int digits);

// Folds a constant expression for its text. A long file's text is generated on two threads,
// and folding stores results in the nodes of the constants the expression names, which both may
// reach: one thread folds at a time. The expression's own results are its thread's alone.
void EvaluateForText(TExpressionNode* value);

// Generation appends into one text: a generator asks for a child's text with AppendNodeCode,
// which lets the child append its text in place (TASTNode::AppendCode), so that generating a
// long list or a deep tree makes no copy per node and stays linear.
void AppendNodeCode(std::string& out, TASTNode* node, const std::string& indent);

// GenerateCode of a generator that appends: Node has AppendCode(out, indent).
template <class Node>
std::string GenerateByAppending(Node* node, const std::string& indent) {
  // TASTNode's own AppendCode calls GenerateCode: the node must have one of its own.
  static_assert(!std::is_same_v<decltype(&Node::AppendCode),
                                void (TASTNode::*)(std::string&, const std::string&)>,
                "a generator that appends declares its own AppendCode");
  std::string text;
  node->AppendCode(text, indent);
  return text;
}

}  // namespace zintrel
