#include "cpp/Text.h"
#include "frontend/Tokens.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <mutex>

#include "model/ASTNode.h"
#include "semantics/Expression.h"

namespace zintrel {

namespace {

// The C++20 keywords and alternative tokens, and the words g++ also reserves in its default
// GNU dialect (typeof, _Complex). In byte order: the keywords of one first byte stand together.
constexpr std::string_view CPPKeywords[] = {
    "_Complex", "alignas", "alignof", "and", "and_eq", "asm", "auto", "bitand", "bitor", "bool",
    "break", "case", "catch", "char", "char16_t", "char32_t", "char8_t", "class", "co_await",
    "co_return", "co_yield", "compl", "concept", "const", "const_cast", "consteval", "constexpr",
    "constinit", "continue", "decltype", "default", "delete", "do", "double", "dynamic_cast",
    "else", "enum", "explicit", "export", "extern", "false", "float", "for", "friend", "goto",
    "if", "inline", "int", "long", "mutable", "namespace", "new", "noexcept", "not", "not_eq",
    "nullptr", "operator", "or", "or_eq", "private", "protected", "public", "register",
    "reinterpret_cast", "requires", "return", "short", "signed", "sizeof", "static",
    "static_assert", "static_cast", "struct", "switch", "template", "this", "thread_local",
    "throw", "true", "try", "typedef", "typeid", "typename", "typeof", "union", "unsigned",
    "using", "virtual", "void", "volatile", "wchar_t", "while", "xor", "xor_eq",
};
static_assert(std::is_sorted(std::begin(CPPKeywords), std::end(CPPKeywords)));

// For each first byte, the keywords starting with it: [first, last) in CPPKeywords.
struct TKeywordRanges {
  uint8_t First[128] = {};
  uint8_t Last[128] = {};
  constexpr TKeywordRanges() {
    for (size_t i = std::size(CPPKeywords); i-- > 0;) {
      const auto c = static_cast<unsigned char>(CPPKeywords[i][0]);
      if (Last[c] == 0) Last[c] = static_cast<uint8_t>(i + 1);
      First[c] = static_cast<uint8_t>(i);
    }
  }
};
constexpr TKeywordRanges KeywordRanges;
static_assert(std::size(CPPKeywords) < 256);

bool IsCPPKeyword(const std::string& name) {
  // Every keyword starts with a lower-case letter or "_" and is at most 16 bytes long: most
  // names are settled without a search, the others among the few keywords of their first byte.
  if (name.empty() || name.size() > 16 || (name[0] != '_' && (name[0] < 'a' || name[0] > 'z')))
    return false;
  const auto c = static_cast<unsigned char>(name[0]);
  for (size_t i = KeywordRanges.First[c]; i < KeywordRanges.Last[c]; ++i)
    if (CPPKeywords[i] == name) return true;
  return false;
}

}  // namespace

void AppendCPPIdentifier(std::string& out, const std::string& name) {
  if (IsCPPKeyword(name)) out += "__zn_";
  out += name;
}

std::string CPPIdentifier(const std::string& name) {
  std::string out;
  AppendCPPIdentifier(out, name);
  return out;
}

void AppendEscapedText(std::string& out, std::string_view text) {
  out.reserve(out.size() + text.size());
  char previous = 0;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (byte < 32 || byte == 127) {
      // Three octal digits, so that a following digit is not taken into the escape.
      out += '\\';
      out += static_cast<char>('0' + ((byte >> 6) & 7));
      out += static_cast<char>('0' + ((byte >> 3) & 7));
      out += static_cast<char>('0' + (byte & 7));
    } else if (c == '?' && previous == '?') {
      out += "\\?";
    } else {
      out += c;
    }
    previous = c;
  }
}

std::string EscapedText(std::string_view text) {
  std::string out;
  AppendEscapedText(out, text);
  return out;
}

std::string DecimalText(int64_t value) {
  // The most negative value has no literal: its magnitude does not fit the signed type.
  if (value == INT64_MIN) return "(-9223372036854775807LL - 1)";
  // Nor has the most negative Int: -2147483648 would be the negation of a long.
  if (value == INT32_MIN) return "(-2147483647 - 1)";
  return std::to_string(value);
}

std::string LongText(int64_t value) {
  if (value == INT64_MIN) return DecimalText(value);
  return std::to_string(value) + "LL";
}

std::string UnsignedText(int64_t value) { return std::to_string(value) + "U"; }

std::string NarrowUnsignedText(int64_t value, int32_t kind) {
  if (kind == tok::TYPE_BYTE) return "((uint8_t)" + std::to_string(static_cast<uint8_t>(value)) + ")";
  return "((uint16_t)" + std::to_string(static_cast<uint16_t>(value)) + ")";
}

std::string ULongText(int64_t value) { return std::to_string(value) + "ULL"; }

std::string RealText(double value, int digits) {
  if (std::isnan(value)) return "__builtin_nan(\"\")";
  if (std::isinf(value)) return value < 0 ? "(-__builtin_huge_val())" : "__builtin_huge_val()";
  // printf's "%#.<digits>g": the exponent of the scientific form chooses between it and the
  // fixed form with as many significant digits, and the point and trailing zeros always stay.
  // to_chars rounds exactly as printf does, and it knows no locale (no decimal comma).
  char text[64];
  auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific,
                               digits - 1);
  const char* mark = std::find(text, written.ptr, 'e');
  int exponent = 0;
  std::from_chars(mark + (mark[1] == '+' ? 2 : 1), written.ptr, exponent);
  if (exponent < -4 || exponent >= digits) return std::string(text, written.ptr);
  const int decimals = digits - 1 - exponent;
  written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  std::string result(text, written.ptr);
  if (decimals == 0) result += '.';
  return result;
}

std::string FloatText(float value) {
  if (std::isnan(value)) return "__builtin_nanf(\"\")";
  if (std::isinf(value)) return value < 0 ? "(-__builtin_huge_valf())" : "__builtin_huge_valf()";
  return RealText(static_cast<double>(value), 9) + "f";
}

std::string DoubleText(double value) { return RealText(value, 17); }

void AppendNodeCode(std::string& out, TASTNode* node, const std::string& indent) {
  if (node == nullptr) return;
  // Trees are as deep as the longest operator or member chain: the walk checks its stack.
  TASTNode::GuardStack(node);
  node->AppendCode(out, indent);
}

void EvaluateForText(TExpressionNode* value) {
  // Never destroyed: the second thread may still be at work while the process ends.
  static auto& guard = *new std::mutex();
  const std::lock_guard<std::mutex> lock(guard);
  value->EvaluateResult();
}

}  // namespace zintrel
