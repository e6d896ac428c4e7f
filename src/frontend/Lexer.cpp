#include "frontend/Lexer.h"

#include <bit>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <utility>

#include "support/Files.h"
#include "support/Messages.h"
#include "support/Text.h"

namespace zintrel {

using namespace tok;

TLexer* TLexer::Lexer = nullptr;
LocationRecord* TLexer::TokenLocation = nullptr;
int TLexer::LastToken = TOK_EOL;
int32_t TLexer::ErrorStartLine = 0;
int32_t TLexer::ErrorEndLine = 0;
int32_t TLexer::ErrorStartCol = 0;
int32_t TLexer::ErrorEndCol = 0;

namespace {

// Written instead of the parser's record while no record has been connected.
LocationRecord InternalLocation;

LocationRecord& Location() {
  return TLexer::TokenLocation ? *TLexer::TokenLocation : InternalLocation;
}

struct KeywordSpelling {
  int Code;
  const char* Text;
};

// In code order; the spelling is the display text of TokenToString.
constexpr KeywordSpelling KeywordList[] = {
    {KEY_ABSTRACT, "Abstract"}, {KEY_AND, "And"}, {KEY_ASSERT, "Assert"}, {KEY_BYTE, "Byte"},
    {KEY_CASE, "Case"}, {KEY_CATCH, "Catch"}, {KEY_CONST, "Const"}, {KEY_CONTINUE, "Continue"},
    {KEY_DEFAULT, "Default"}, {KEY_DELETE, "Delete"}, {KEY_DOUBLE, "Double"},
    {KEY_EACHIN, "EachIn"}, {KEY_ELSE, "Else"}, {KEY_ELSEIF, "ElseIf"},
    {KEY_ENDEXTERN, "EndExtern"}, {KEY_ENDFUNCTION, "EndFunction"}, {KEY_ENDIF, "EndIf"},
    {KEY_ENDMETHOD, "EndMethod"}, {KEY_ENDSELECT, "EndSelect"}, {KEY_ENDTRY, "EndTry"},
    {KEY_ENDCLASS, "EndClass"}, {KEY_ENDWHILE, "EndWhile"}, {KEY_EXIT, "Exit"},
    {KEY_EXTENDS, "Extends"}, {KEY_EXTERN, "Extern"}, {KEY_FALSE, "False"}, {KEY_FIELD, "Field"},
    {KEY_FINAL, "Final"}, {KEY_FLOAT, "Float"}, {KEY_FOR, "For"}, {KEY_FOREVER, "Forever"},
    {KEY_FUNCTION, "Function"}, {KEY_GLOBAL, "Global"}, {KEY_IF, "If"}, {KEY_IMPORT, "Import"},
    {KEY_INCBIN, "Incbin"}, {KEY_INCBINLEN, "IncbinLen"}, {KEY_INCBINPTR, "IncbinPtr"},
    {KEY_INT, "Int"}, {KEY_LOCAL, "Local"}, {KEY_LONG, "Long"}, {KEY_METHOD, "Method"},
    {KEY_MOD, "Mod"}, {KEY_NEW, "New"}, {KEY_NEXT, "Next"}, {KEY_NOT, "Not"}, {KEY_NULL, "Null"},
    {KEY_OR, "Or"}, {KEY_PRIVATE, "Private"}, {KEY_PTR, "Ptr"}, {KEY_PUBLIC, "Public"},
    {KEY_REPEAT, "Repeat"}, {KEY_RETURN, "Return"}, {KEY_SELECT, "Select"}, {KEY_SELF, "Self"},
    {KEY_SHL, "Shl"}, {KEY_SHORT, "Short"}, {KEY_SHR, "Shr"}, {KEY_SIZEOF, "SizeOf"},
    {KEY_STEP, "Step"}, {KEY_SUPER, "Super"}, {KEY_THEN, "Then"}, {KEY_THROW, "Throw"},
    {KEY_TO, "To"}, {KEY_TRUE, "True"}, {KEY_TRY, "Try"}, {KEY_CLASS, "Class"},
    {KEY_UNTIL, "Until"}, {KEY_VAR, "Var"}, {KEY_VARPTR, "Varptr"}, {KEY_WEND, "Wend"},
    {KEY_WHILE, "While"}, {KEY_BOOL, "Bool"}, {KEY_DO, "Do"}, {KEY_UBYTE, "UByte"},
    {KEY_USHORT, "UShort"}, {KEY_UINT, "UInt"}, {KEY_ULONG, "ULong"}, {KEY_VOID, "Void"},
    {KEY_PROTECTED, "Protected"},
};
static_assert(sizeof(KeywordList) / sizeof(KeywordList[0]) == 80);

constexpr int FirstKeywordCode = KEY_ABSTRACT;
constexpr int LastKeywordCode = KEY_PROTECTED;
constexpr int MaxKeywordLength = 11;  // "endfunction"

// A word lower-cased for keyword comparison, eight bytes to a number, bytes past its end zero:
// letters fold, digits stay, "_" turns into a byte no keyword contains. Identifier characters
// never give a zero byte, so two words of keyword length pack alike only when they are equal.
struct TPackedWord {
  uint64_t Low = 0;
  uint64_t High = 0;
  bool operator==(const TPackedWord&) const = default;
};

// False when the word is too long to be a keyword.
inline bool PackWord(const char16_t* from, int32_t length, TPackedWord& word) {
  if (length > MaxKeywordLength) return false;
  uint64_t low = 0;
  uint64_t high = 0;
  const int32_t inLow = length < 8 ? length : 8;
  for (int32_t i = 0; i < inLow; ++i)
    low |= static_cast<uint64_t>((from[i] | 0x20) & 0xFF) << (8 * i);
  for (int32_t i = 8; i < length; ++i)
    high |= static_cast<uint64_t>((from[i] | 0x20) & 0xFF) << (8 * (i - 8));
  word = {low, high};
  return true;
}

// The same for a keyword's spelling (at most MaxKeywordLength letters).
constexpr TPackedWord PackedText(std::string_view text) {
  TPackedWord word;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<uint64_t>((static_cast<unsigned char>(text[i]) | 0x20) & 0xFF);
    (i < 8 ? word.Low : word.High) |= byte << (8 * (i % 8));
  }
  return word;
}
constexpr TPackedWord EndWord = PackedText("end");
// The words that make one keyword with "End" before them.
constexpr std::pair<TPackedWord, int> EndJoined[] = {
    {PackedText("select"), KEY_ENDSELECT}, {PackedText("extern"), KEY_ENDEXTERN},
    {PackedText("if"), KEY_ENDIF},         {PackedText("class"), KEY_ENDCLASS},
    {PackedText("function"), KEY_ENDFUNCTION}, {PackedText("method"), KEY_ENDMETHOD}};

// The keyword map: open addressing over packed words, so a lookup hashes and compares two
// numbers. Identifiers longer than the longest keyword never reach it.
struct KeywordSlot {
  TPackedWord Word;
  int Code = 0;  // 0: empty slot
};
constexpr unsigned KeywordTableSize = 512;
KeywordSlot KeywordTable[KeywordTableSize];
const char* TokenNameTable[LastKeywordCode - FirstKeywordCode + 1];
bool TablesReady = false;

inline unsigned KeywordHash(const TPackedWord& word) {
  const uint64_t h = (word.Low ^ (word.High * 0x9E3779B97F4A7C15u)) * 0xFF51AFD7ED558CCDu;
  return static_cast<unsigned>(h >> 55) & (KeywordTableSize - 1);
}

// Code of the keyword the packed word spells, or 0.
inline int FindKeyword(const TPackedWord& word) {
  for (unsigned slot = KeywordHash(word);; slot = (slot + 1) & (KeywordTableSize - 1)) {
    const KeywordSlot& entry = KeywordTable[slot];
    if (entry.Code == 0) return 0;
    if (entry.Word == word) return entry.Code;
  }
}

// Identifier characters by code, for the hot loops (same set as TLexer::IsValidChar).
constexpr auto IdentifierChars = [] {
  struct Table {
    bool Is[128] = {};
  } table;
  for (int c = 0; c < 128; ++c) table.Is[c] = TLexer::IsValidChar(static_cast<char16_t>(c));
  return table;
}();

inline bool IsIdentifierChar(char16_t c) { return c < 128 && IdentifierChars.Is[c]; }

// Locale-independent conversion, so a decimal point is "." whatever the process locale says.
locale_t CLocale() {
  static locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return locale;
}

constexpr char16_t ReplacementChar = 0xFFFD;

// UTF-8 to UTF-16, dropping CRs. An invalid sequence (bad lead byte, overlong form, encoded
// surrogate, beyond U+10FFFF, cut short) becomes one U+FFFD per maximal invalid part.
char16_t* DecodeUtf8(const unsigned char* p, size_t n, char16_t* out) {
  size_t i = 0;
  while (i < n) {
    unsigned b = p[i];
    if (b < 0x80) {
      if (b != '\r') *out++ = static_cast<char16_t>(b);
      ++i;
      continue;
    }
    int need;
    unsigned lo = 0x80, hi = 0xBF, cp;
    if (b >= 0xC2 && b <= 0xDF) {
      need = 1;
      cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      need = 2;
      cp = b & 0x0F;
      if (b == 0xE0) lo = 0xA0;
      if (b == 0xED) hi = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      need = 3;
      cp = b & 0x07;
      if (b == 0xF0) lo = 0x90;
      if (b == 0xF4) hi = 0x8F;
    } else {
      *out++ = ReplacementChar;
      ++i;
      continue;
    }
    size_t j = i + 1;
    int got = 0;
    while (got < need && j < n && p[j] >= lo && p[j] <= hi) {
      cp = (cp << 6) | (p[j] & 0x3F);
      ++j;
      ++got;
      lo = 0x80;
      hi = 0xBF;
    }
    i = j;
    if (got < need) {
      *out++ = ReplacementChar;
    } else if (cp >= 0x10000) {
      cp -= 0x10000;
      *out++ = static_cast<char16_t>(0xD800 + (cp >> 10));
      *out++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      *out++ = static_cast<char16_t>(cp);
    }
  }
  return out;
}

// UTF-16 code units are taken as they are (unpaired surrogates included), CRs dropped; an odd
// trailing byte becomes U+FFFD.
char16_t* DecodeUtf16(const unsigned char* p, size_t n, bool bigEndian, char16_t* out) {
  size_t pairs = n / 2;
  for (size_t i = 0; i < pairs; ++i) {
    const unsigned char* q = p + 2 * i;
    char16_t unit = bigEndian ? static_cast<char16_t>((q[0] << 8) | q[1])
                              : static_cast<char16_t>((q[1] << 8) | q[0]);
    if (unit != u'\r') *out++ = unit;
  }
  if (n % 2 != 0) *out++ = ReplacementChar;
  return out;
}

char16_t* DecodeBytes(const unsigned char* p, size_t n, char16_t* out) {
  // A text without CRs (most of them) is widened in one loop the compiler vectorises.
  if (std::memchr(p, '\r', n) == nullptr) {
    for (size_t i = 0; i < n; ++i) out[i] = p[i];
    return out + n;
  }
  for (size_t i = 0; i < n; ++i) {
    if (p[i] != '\r') *out++ = p[i];
  }
  return out;
}

[[noreturn]] void AbortUnreadable(const std::string& path) {
  TLexer::Abort("Unable to open file " + path);
}

}  // namespace

void TLexer::Init() {
  if (TablesReady) return;
  for (const KeywordSpelling& keyword : KeywordList) {
    const TPackedWord word = PackedText(keyword.Text);
    unsigned slot = KeywordHash(word);
    while (KeywordTable[slot].Code != 0) slot = (slot + 1) & (KeywordTableSize - 1);
    KeywordTable[slot] = {word, keyword.Code};
    TokenNameTable[keyword.Code - FirstKeywordCode] = keyword.Text;
  }
  TablesReady = true;
}

void TLexer::PrepareCode(std::string_view bytes, TRoom<char16_t>& code) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t n = bytes.size();
  // Every decoder yields at most one unit per byte (a surrogate pair needs four bytes), plus
  // the appended newline.
  code.clear();
  code.resize(n + 1);
  char16_t* out = code.data();
  char16_t* end;
  if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
    end = DecodeUtf8(p + 3, n - 3, out);
  } else if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
    end = DecodeUtf16(p + 2, n - 2, false, out);
  } else if (n >= 2 && p[0] == 0xFE && p[1] == 0xFF) {
    end = DecodeUtf16(p + 2, n - 2, true, out);
  } else {
    end = DecodeBytes(p, n, out);
  }
  *end++ = u'\n';
  code.resize(static_cast<size_t>(end - out));
}

void TLexer::Reset(const std::string& path, std::string_view bytes) {
  Path = path;
  // Decoding into the previous file's buffer saves fresh pages for every file.
  PrepareCode(bytes, Code);
  CodePos = 0;
  CurrentLine = 1;
  LastLinePos = 0;
  LastLiteralType = 0;
  TokenBits = 0;
  TokenText.clear();
  // Empty lines at the top of a file produce no end-of-line token.
  LastToken = TOK_EOL;
}

void TLexer::LoadText(const std::string& path, std::string_view bytes) {
  if (!Lexer) Lexer = new TLexer;
  Init();
  // Positions are 32-bit; a larger text cannot be scanned.
  if (bytes.size() >= static_cast<size_t>(INT32_MAX) - 2) AbortUnreadable(path);
  Lexer->Reset(path, bytes);
}

namespace {
// The bytes of the file being read: kept from file to file, so the largest file read decides
// the size, until Release.
TRoom<char>& FileBytes() {
  static TRoom<char> bytes;
  return bytes;
}
}  // namespace

void TLexer::Load(const std::string& path) {
  if (!Lexer) Lexer = new TLexer;
  Init();
  TRoom<char>& bytes = FileBytes();
  if (!ReadFileBytes(path, bytes)) AbortUnreadable(path);
  LoadText(path, std::string_view(bytes.data(), bytes.size()));
}

void TLexer::Release() {
  FileBytes().Release();
  if (Lexer != nullptr) {
    Lexer->Code.Release();
    Lexer->CodePos = 0;
  }
}

int TLexer::GetNextTokenStatic() {
  LastToken = Lexer ? Lexer->GetNextToken() : TOK_EOF;
  return LastToken;
}

void TLexer::CalculateLocation() {
  const LocationRecord& location = Location();
  ErrorStartLine = location.FirstLine;
  ErrorStartCol = location.FirstColumn;
  ErrorEndLine = location.LastLine;
  ErrorEndCol = location.LastColumn;
}

void TLexer::Abort(std::string_view message) {
  const LocationRecord& location = Location();
  std::string text = "Lexer error: ";
  text += message;
  text += LocationLines(location.FirstLine, location.LastLine, location.FirstColumn,
                        location.LastColumn);
  AbortWithMessage(text);
}

std::string TLexer::TokenToString(int code) {
  Init();
  if (code >= FirstKeywordCode && code <= LastKeywordCode) {
    if (const char* name = TokenNameTable[code - FirstKeywordCode]) return name;
  }
  if (code >= 0 && code <= 127) return std::string(1, static_cast<char>(code));
  static const char* const Operators[] = {"+", "-", "*", "/", "^", "(",  ")", ">", "<", "=",
                                          ">=", "<=", "<>", "~", "|", "&", ":", ",", ".", ";",
                                          "$", "!", "@", "%", "'", "[", "]", "#"};
  if (code >= TOK_PLUS && code <= TOK_SHARP) return Operators[code - TOK_PLUS];
  switch (code) {
    case TOK_EOL: return "New Line";
    case TOK_IDENTIFIER: return "Identifier";
    case TOK_INT: return "Int literal";
    case TOK_FLOAT: return "Float literal";
    case TOK_STRING: return "String literal";
    default: return "";
  }
}

char16_t TLexer::GetNextChar() {
  if (CodePos >= static_cast<int32_t>(Code.size())) Abort("Lexer error");
  return Code[static_cast<size_t>(CodePos++)];
}

int TLexer::GetNextToken() {
  LocationRecord& location = Location();
  const char16_t* code = Code.data();
  const int32_t size = static_cast<int32_t>(Code.size());
  for (;;) {
    // Blanks are skipped on a local position: the location record could be any int32_t, so
    // writing it while scanning would make the compiler reload the position after every write.
    int32_t pos = CodePos;
    if (pos >= size) return TOK_EOF;
    char16_t c = code[pos++];
    while (c == u' ' || c == u'\t') {
      if (pos >= size) {
        location.FirstLine = CurrentLine;
        location.FirstColumn = pos - LastLinePos;
        CodePos = pos;
        Abort("Lexer error");
      }
      c = code[pos++];
    }
    CodePos = pos;
    location.FirstLine = CurrentLine;
    location.FirstColumn = pos - LastLinePos;  // the column of c
    location.LastLine = location.FirstLine;
    location.LastColumn = location.FirstColumn + 1;

    switch (c) {
      case u'+': case u'-': case u'*': case u'(': case u')': case u'^': case u':': case u';':
      case u',': case u'&': case u'|': case u'[': case u']': case u'~':
        return c;

      case u'/': {
        char16_t next = GetNextChar();
        if (next == u'/') {
          while (CodePos < size && code[CodePos] != u'\n') ++CodePos;
          continue;
        }
        if (next == u'*') {
          for (;;) {
            if (CodePos >= size) Abort("/* without matching */");
            char16_t inside = code[CodePos++];
            if (inside == u'*') {
              if (CodePos < size && code[CodePos] == u'/') {
                ++CodePos;
                break;
              }
            } else if (inside == u'\n') {
              LastLinePos = CodePos;
              ++CurrentLine;
            }
          }
          continue;
        }
        --CodePos;
        return u'/';
      }

      case u'.':
        if (GetNextChar() == u'.') {
          if (GetNextChar() == u'\n') {
            // Line continuation: the newline produces no token.
            LastLinePos = CodePos;
            ++CurrentLine;
            continue;
          }
          --CodePos;
          ++location.LastColumn;
          return TOK_DOUBLE_PERIOD;
        }
        --CodePos;
        return u'.';

      case u'"':
        ScanString();
        return TOK_STRING;

      case u'$':
        ScanHexNumber();
        location.LastColumn = CodePos - LastLinePos + 1;
        return LastLiteralType;

      case u'%':
        ScanBinaryNumber();
        location.LastColumn = CodePos - LastLinePos + 1;
        return LastLiteralType;

      case u'\n':
        LastLinePos = CodePos;
        ++CurrentLine;
        if (LastToken == TOK_EOL) continue;
        return TOK_EOL;

      case u'>':
        if (GetNextChar() == u'=') {
          ++location.LastColumn;
          return TOK_GE;
        }
        --CodePos;
        return u'>';

      case u'<': {
        char16_t next = GetNextChar();
        if (next == u'=' || next == u'>') {
          ++location.LastColumn;
          return next == u'=' ? TOK_LE : TOK_NE;
        }
        --CodePos;
        return u'<';
      }

      case u'=': {
        // "=>" and "=<" are other spellings of ">=" and "<=".
        char16_t next = GetNextChar();
        if (next == u'>' || next == u'<') {
          ++location.LastColumn;
          return next == u'>' ? TOK_GE : TOK_LE;
        }
        --CodePos;
        return u'=';
      }

      default:
        break;
    }

    if (IsDigit(c)) {
      if (CheckForFloat()) {
        ScanFloat();
      } else {
        ScanInteger();
      }
      location.LastColumn = CodePos - LastLinePos + 1;
      return LastLiteralType;
    }
    if (IsValidChar(c)) {
      int32_t start = CodePos - 1;
      int32_t end = CodePos;
      while (end < size && IsIdentifierChar(code[end])) ++end;
      CodePos = end;
      int token = IdentifierToken(start, end);
      location.LastColumn = CodePos - LastLinePos + 1;
      return token;
    }
    Abort("Unknown literal");
  }
}

int TLexer::IdentifierToken(int32_t start, int32_t end) {
  const char16_t* code = Code.data();
  const int32_t size = static_cast<int32_t>(Code.size());
  TPackedWord word;
  if (!PackWord(code + start, end - start, word)) {
    SetStringResult(start, end);
    return TOK_IDENTIFIER;
  }
  if (word == EndWord) {
    // "End If" and its kin are one keyword when exactly one blank separates the words.
    if (end + 1 < size && code[end] == u' ' && IsValidChar(code[end + 1])) {
      int32_t second = end + 1;
      int32_t secondEnd = second;
      while (secondEnd < size && IsValidChar(code[secondEnd])) ++secondEnd;
      TPackedWord next;
      if (PackWord(code + second, secondEnd - second, next)) {
        for (const auto& [spelling, joined] : EndJoined) {
          if (next == spelling) {
            CodePos = secondEnd;
            return joined;
          }
        }
      }
    }
  }
  if (int keyword = FindKeyword(word)) return keyword;
  SetStringResult(start, end);
  return TOK_IDENTIFIER;
}

void TLexer::ScanString() {
  const char16_t* code = Code.data();
  const int32_t size = static_cast<int32_t>(Code.size());
  int32_t start = CodePos;
  for (;;) {
    // Running out of text here leaves the location where the string began.
    if (CodePos >= size) Abort("Lexer error");
    char16_t c = code[CodePos++];
    if (c == u'"') break;
    if (c == u'\n') {
      LastLinePos = CodePos;
      ++CurrentLine;
    }
  }
  SetStringResult(start, CodePos - 1);
  LocationRecord& location = Location();
  location.LastLine = CurrentLine;
  location.LastColumn = CodePos - LastLinePos + 1;
}

bool TLexer::CheckForFloat() const {
  const char16_t* code = Code.data();
  const int32_t size = static_cast<int32_t>(Code.size());
  int32_t pos = CodePos;
  while (pos < size && IsDigit(code[pos])) ++pos;
  return pos < size && (code[pos] == u'.' || (code[pos] | 0x20) == u'e');
}

void TLexer::ScanInteger() {
  const char16_t* code = Code.data();
  const int32_t size = static_cast<int32_t>(Code.size());
  --CodePos;
  uint64_t value = 0;  // wraps silently on overflow
  while (CodePos < size && IsDigit(code[CodePos])) value = value * 10 + (code[CodePos++] - u'0');
  GetLiteralFlags(value, GetNextChar());
}

void TLexer::ScanHexNumber() {
  const char16_t* code = Code.data();
  const int32_t size = static_cast<int32_t>(Code.size());
  uint64_t value = 0;
  while (CodePos < size && IsHexDigit(code[CodePos])) {
    char16_t c = code[CodePos++];
    unsigned digit = IsDigit(c) ? c - u'0' : (c | 0x20) - u'a' + 10;
    value = value * 16 + digit;
  }
  GetLiteralFlags(value, GetNextChar());
}

void TLexer::ScanBinaryNumber() {
  const char16_t* code = Code.data();
  const int32_t size = static_cast<int32_t>(Code.size());
  uint64_t value = 0;
  while (CodePos < size && IsBinaryDigit(code[CodePos])) value = value * 2 + (code[CodePos++] - u'0');
  GetLiteralFlags(value, GetNextChar());
}

void TLexer::GetLiteralFlags(uint64_t value, char16_t c) {
  bool isUnsigned = false;
  while ((c | 0x20) == u'u') {
    isUnsigned = true;
    c = GetNextChar();
  }
  switch (c | 0x20) {
    case u'l': SetLongResult(value, isUnsigned); break;
    case u's': SetShortResult(value, isUnsigned); break;
    case u'b': SetByteResult(value, isUnsigned); break;
    default:
      --CodePos;
      SetIntResult(value, isUnsigned);
      break;
  }
}

void TLexer::ScanFloat() {
  const char16_t* code = Code.data();
  const int32_t size = static_cast<int32_t>(Code.size());
  int32_t start = --CodePos;
  while (CodePos < size && IsDigit(code[CodePos])) ++CodePos;
  int32_t digitsEnd = CodePos;
  if (CodePos < size && code[CodePos] == u'.') {
    ++CodePos;
    while (CodePos < size && IsDigit(code[CodePos])) ++CodePos;
    // "1." is 1.0: the point only counts when digits follow it.
    if (CodePos > digitsEnd + 1) digitsEnd = CodePos;
  }
  if ((GetNextChar() | 0x20) == u'e') {
    GetNextChar();
    Abort("Scientific notation not yet supported");
  }
  --CodePos;
  bool isDouble = (GetNextChar() | 0x20) == u'd';
  if (!isDouble) --CodePos;

  // The value is the correctly rounded value of the decimal digits as written.
  char small[128];
  std::string large;
  size_t length = static_cast<size_t>(digitsEnd - start);
  char* text = small;
  if (length >= sizeof(small)) {
    large.resize(length + 1);
    text = large.data();
  }
  for (size_t i = 0; i < length; ++i) text[i] = static_cast<char>(code[static_cast<size_t>(start) + i]);
  text[length] = '\0';
  if (isDouble) {
    SetDoubleResult(strtod_l(text, nullptr, CLocale()));
  } else {
    SetFloatResult(strtof_l(text, nullptr, CLocale()));
  }
}

void TLexer::SetStringResult(int32_t start, int32_t end) {
  size_t length = static_cast<size_t>(end - start);
  TokenText.resize(length);
  const char16_t* from = Code.data() + start;
  char* into = TokenText.data();
  for (size_t i = 0; i < length; ++i) into[i] = static_cast<char>(from[i] & 0xFF);
  LastLiteralType = TOK_STRING;
}

void TLexer::SetFloatResult(float f) {
  TokenBits = std::bit_cast<uint32_t>(f);
  LastLiteralType = TOK_FLOAT;
}

void TLexer::SetDoubleResult(double d) {
  TokenBits = std::bit_cast<uint64_t>(d);
  LastLiteralType = TOK_DOUBLE;
}

void TLexer::SetByteResult(uint64_t b, bool isUnsigned) {
  TokenBits = b & 0xFF;
  LastLiteralType = TOK_BYTE + (isUnsigned ? UNSIGNED_OFFSET : 0);
}

void TLexer::SetShortResult(uint64_t s, bool isUnsigned) {
  TokenBits = s & 0xFFFF;
  LastLiteralType = TOK_SHORT + (isUnsigned ? UNSIGNED_OFFSET : 0);
}

void TLexer::SetIntResult(uint64_t i, bool isUnsigned) {
  TokenBits = static_cast<uint64_t>(static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(i))));
  LastLiteralType = TOK_INT + (isUnsigned ? UNSIGNED_OFFSET : 0);
}

void TLexer::SetLongResult(uint64_t l, bool isUnsigned) {
  TokenBits = l;
  LastLiteralType = TOK_LONG + (isUnsigned ? UNSIGNED_OFFSET : 0);
}

}  // namespace zintrel
