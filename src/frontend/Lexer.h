#pragma once
// The lexer: turns one prepared source file into the token stream the parser pulls one token at
// a time through GetNextTokenStatic. There is one lexer object for the whole run; each file is
// loaded into it in turn, and a lexical error ends the process.
#include <cstdint>
#include <string>
#include <string_view>

#include "frontend/Location.h"
#include "frontend/Tokens.h"
#include "support/Room.h"

namespace zintrel {

class TLexer {
 public:
  std::string Path;      // file being scanned
  TRoom<char16_t> Code;  // the whole text as 16-bit code units, CRs removed, one LF appended
  int32_t CodePos = 0;   // next code unit to read
  int32_t CurrentLine = 0;
  int32_t LastLinePos = 0;  // index just after the last newline read
  int32_t LastLiteralType = 0;

  // Value of the last identifier, string or numeric token, read by the parser right after
  // GetNextTokenStatic returned the token:
  // - TokenBits: ints and uints sign-extended from their low 32 bits, shorts and bytes
  //   zero-extended, longs all 64 bits, a float as its 32-bit pattern in the low half, a double
  //   as its 64-bit pattern. Not touched by identifiers and strings.
  // - TokenText: identifier spelling as written, or the text between a string's quotes; each
  //   code unit keeps its low 8 bits. The whole text is kept, zero units included. Not touched
  //   by numbers; the buffer is reused from token to token.
  uint64_t TokenBits = 0;
  std::string TokenText;

  // The single lexer object, created by the first Load.
  static TLexer* Lexer;
  // The parser's location record; the driver points it there before the first parse. When it is
  // null the lexer writes a record of its own, so scanning never depends on it.
  static LocationRecord* TokenLocation;
  // Code of the last token handed out by GetNextTokenStatic.
  static int LastToken;
  // Copies of the location record made by CalculateLocation for the syntax error message.
  static int32_t ErrorStartLine;
  static int32_t ErrorEndLine;
  static int32_t ErrorStartCol;
  static int32_t ErrorEndCol;

  // Builds the keyword and token-name tables; safe to call more than once.
  static void Init();
  // Reads the file whole and prepares the lexer for it; aborts with "Unable to open file " +
  // path when it cannot be read.
  static void Load(const std::string& path);
  // Same as Load, from bytes already in memory (decoded by their byte-order mark like a file).
  static void LoadText(const std::string& path, std::string_view bytes);
  // Gives back the text of the last file (its bytes and its code units, the size of the
  // largest file read, three times over) once every file is parsed. A later Load reads anew.
  static void Release();
  // The parser's token source: the next token code, 0 at the end of the text.
  static int GetNextTokenStatic();
  // Copies the location record into ErrorStartLine/ErrorEndLine/ErrorStartCol/ErrorEndCol.
  static void CalculateLocation();
  // Prints the lexical error with the current token location and ends the process (255).
  [[noreturn]] static void Abort(std::string_view message);
  // Display text of a token code: keyword spelling, single character, operator text, a few
  // token kinds by name, otherwise empty.
  static std::string TokenToString(int code);

  // Character classes; IsValidChar is a character that may appear in an identifier.
  static constexpr bool IsValidChar(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'_';
  }
  static constexpr bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
  static constexpr bool IsBinaryDigit(char16_t c) { return c == u'0' || c == u'1'; }
  static constexpr bool IsHexDigit(char16_t c) {
    return IsDigit(c) || ((c | 0x20) >= u'a' && (c | 0x20) <= u'f');
  }

  // Decodes file bytes by their byte-order mark (UTF-8, UTF-16 LE or BE, else one unit per
  // byte), drops every carriage return and appends one newline; the result replaces code.
  static void PrepareCode(std::string_view bytes, TRoom<char16_t>& code);

  // Next token code, 0 at the end of the text.
  int GetNextToken();

 private:
  void Reset(const std::string& path, std::string_view bytes);
  char16_t GetNextChar();
  int IdentifierToken(int32_t start, int32_t end);
  void ScanString();
  void ScanInteger();
  void ScanFloat();
  void ScanHexNumber();
  void ScanBinaryNumber();
  bool CheckForFloat() const;
  void GetLiteralFlags(uint64_t value, char16_t c);

  void SetStringResult(int32_t start, int32_t end);
  void SetFloatResult(float f);
  void SetDoubleResult(double d);
  void SetByteResult(uint64_t b, bool isUnsigned);
  void SetShortResult(uint64_t s, bool isUnsigned);
  void SetIntResult(uint64_t i, bool isUnsigned);
  void SetLongResult(uint64_t l, bool isUnsigned);
};

}  // namespace zintrel
