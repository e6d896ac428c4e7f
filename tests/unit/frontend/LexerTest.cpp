#include <gtest/gtest.h>
#include <unistd.h>

#include <bit>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "frontend/Lexer.h"

namespace zintrel {
namespace {

// The text the lexer decoded, as one string.
std::u16string DecodedText() {
  return std::u16string(TLexer::Lexer->Code.data(), TLexer::Lexer->Code.size());
}

using namespace tok;

LocationRecord Record;

struct Token {
  int Code;
  uint64_t Bits;
  std::string Text;
  LocationRecord Location;
};

// Loads the text and pulls every token up to and including TOK_EOF.
std::vector<Token> Scan(std::string_view source) {
  TLexer::TokenLocation = &Record;
  TLexer::LoadText("test.zin", source);
  std::vector<Token> tokens;
  for (;;) {
    int code = TLexer::GetNextTokenStatic();
    tokens.push_back({code, TLexer::Lexer->TokenBits, TLexer::Lexer->TokenText, Record});
    if (code == TOK_EOF || tokens.size() > 10000) break;
  }
  return tokens;
}

std::vector<int> Codes(std::string_view source) {
  std::vector<int> codes;
  for (const Token& token : Scan(source)) codes.push_back(token.Code);
  return codes;
}

// The first token of the text, which must be followed by nothing but end of line and end.
Token Single(std::string_view source) {
  std::vector<Token> tokens = Scan(source);
  EXPECT_GE(tokens.size(), 2u) << source;
  if (tokens.size() >= 2) {
    EXPECT_EQ(tokens[1].Code, TOK_EOL) << source;
  }
  return tokens.front();
}

uint64_t IntBits(int32_t value) { return static_cast<uint64_t>(static_cast<int64_t>(value)); }

// Escapes a text for the POSIX extended regular expression of a death test.
std::string Literal(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (std::string_view(".[]{}()\\*+?^$|").find(c) != std::string_view::npos) out += '\\';
    out += c;
  }
  return out;
}

// The whole output of a lexical error: three lines and the final line feed.
std::string ErrorRegex(const std::string& message, int firstLine, int lastLine, int firstCol,
                       int lastCol) {
  std::string text = "Lexer error: ";
  text += message;
  text += "\nIn line " + std::to_string(firstLine) + "-" + std::to_string(lastLine);
  text += "\nIn column " + std::to_string(firstCol) + "-" + std::to_string(lastCol) + "\n";
  std::string regex = "^";
  regex += Literal(text);
  regex += "$";
  return regex;
}

// Runs in the death test's child: the report goes to standard output, which is sent to the
// captured standard error so the exact text can be matched.
void ScanAllToStderr(std::string_view source) {
  std::fflush(stdout);
  dup2(2, 1);
  Scan(source);
}

void LoadToStderr(const std::string& path, LocationRecord before) {
  std::fflush(stdout);
  dup2(2, 1);
  Record = before;
  TLexer::TokenLocation = &Record;
  TLexer::Load(path);
}

#define EXPECT_LEXER_ERROR(source, message, l1, l2, c1, c2)                       \
  EXPECT_EXIT(ScanAllToStderr(source), testing::ExitedWithCode(255),               \
              ErrorRegex(message, l1, l2, c1, c2))

// ---------------------------------------------------------------------------------------------

TEST(LexerKeywords, AnyCaseGivesTheSameKeyword) {
  EXPECT_EQ(Codes("IF if If iF\n"),
            (std::vector<int>{KEY_IF, KEY_IF, KEY_IF, KEY_IF, TOK_EOL, TOK_EOF}));
  EXPECT_EQ(Codes("Function FUNCTION endfunction Protected"),
            (std::vector<int>{KEY_FUNCTION, KEY_FUNCTION, KEY_ENDFUNCTION, KEY_PROTECTED, TOK_EOL,
                              TOK_EOF}));
}

TEST(LexerKeywords, EveryKeywordSpellingIsRecognised) {
  int count = 0;
  for (int code = 259; code <= 362; ++code) {
    std::string name = TLexer::TokenToString(code);
    if (name.empty()) continue;
    ++count;
    std::string upper = name, lower = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(Single(name).Code, code) << name;
    EXPECT_EQ(Single(upper).Code, code) << upper;
    EXPECT_EQ(Single(lower).Code, code) << lower;
  }
  EXPECT_EQ(count, 80);
}

TEST(LexerKeywords, NonKeywordsAreIdentifiersSpelledAsWritten) {
  for (const char* word : {"End", "Sar", "String", "_x1", "iff", "Endif_", "ABSTRACTS",
                           "averyveryverylongidentifiername"}) {
    Token token = Single(word);
    EXPECT_EQ(token.Code, TOK_IDENTIFIER) << word;
    EXPECT_EQ(token.Text, word);
  }
  // Keywords carry no value: the text of the last identifier stays.
  std::vector<Token> tokens = Scan("Name If");
  EXPECT_EQ(tokens[1].Code, KEY_IF);
  EXPECT_EQ(tokens[1].Text, "Name");
}

TEST(LexerKeywords, EndJoinsWithTheNextWordOverExactlyOneBlank) {
  EXPECT_EQ(Codes("EndIf\nEnd If\nEND IF\nend function\nEnd Select\nEnd Extern\nEnd Class\n"
                  "End Method\n"),
            (std::vector<int>{KEY_ENDIF, TOK_EOL, KEY_ENDIF, TOK_EOL, KEY_ENDIF, TOK_EOL,
                              KEY_ENDFUNCTION, TOK_EOL, KEY_ENDSELECT, TOK_EOL, KEY_ENDEXTERN,
                              TOK_EOL, KEY_ENDCLASS, TOK_EOL, KEY_ENDMETHOD, TOK_EOL, TOK_EOF}));
  EXPECT_EQ(Codes("End  If"), (std::vector<int>{TOK_IDENTIFIER, KEY_IF, TOK_EOL, TOK_EOF}));
  EXPECT_EQ(Codes("End\tIf"), (std::vector<int>{TOK_IDENTIFIER, KEY_IF, TOK_EOL, TOK_EOF}));
  EXPECT_EQ(Codes("End While"), (std::vector<int>{TOK_IDENTIFIER, KEY_WHILE, TOK_EOL, TOK_EOF}));
  EXPECT_EQ(Codes("EndWhile"), (std::vector<int>{KEY_ENDWHILE, TOK_EOL, TOK_EOF}));
  EXPECT_EQ(Codes("End Iffy"),
            (std::vector<int>{TOK_IDENTIFIER, TOK_IDENTIFIER, TOK_EOL, TOK_EOF}));
  EXPECT_EQ(Codes("End (x)"),
            (std::vector<int>{TOK_IDENTIFIER, '(', TOK_IDENTIFIER, ')', TOK_EOL, TOK_EOF}));

  std::vector<Token> tokens = Scan("  End If x");
  EXPECT_EQ(tokens[0].Location.FirstColumn, 3);
  EXPECT_EQ(tokens[0].Location.LastColumn, 9);
  EXPECT_EQ(tokens[1].Text, "x");
  EXPECT_EQ(tokens[1].Location.FirstColumn, 10);
  // An End that is not joined stays an identifier with its own text and span.
  tokens = Scan("End While");
  EXPECT_EQ(tokens[0].Text, "End");
  EXPECT_EQ(tokens[0].Location.LastColumn, 4);
  EXPECT_EQ(tokens[1].Location.FirstColumn, 5);
}

TEST(LexerOperators, SingleCharactersCarryTheirCode) {
  EXPECT_EQ(Codes("+-*()^:;,&|[]~/.<>="),
            (std::vector<int>{'+', '-', '*', '(', ')', '^', ':', ';', ',', '&', '|', '[', ']',
                              '~', '/', '.', TOK_NE, '=', TOK_EOL, TOK_EOF}));
  EXPECT_EQ(Codes("a/b.c"), (std::vector<int>{TOK_IDENTIFIER, '/', TOK_IDENTIFIER, '.',
                                              TOK_IDENTIFIER, TOK_EOL, TOK_EOF}));
}

TEST(LexerOperators, TwoCharacterComparisons) {
  auto middle = [](const char* source) { return Scan(source)[1].Code; };
  EXPECT_EQ(middle("a>=b"), TOK_GE);
  EXPECT_EQ(middle("a=>b"), TOK_GE);
  EXPECT_EQ(middle("a<=b"), TOK_LE);
  EXPECT_EQ(middle("a=<b"), TOK_LE);
  EXPECT_EQ(middle("a<>b"), TOK_NE);
  EXPECT_EQ(Codes("a><b"), (std::vector<int>{TOK_IDENTIFIER, '>', '<', TOK_IDENTIFIER, TOK_EOL,
                                             TOK_EOF}));
  EXPECT_EQ(Codes("a> =b"), (std::vector<int>{TOK_IDENTIFIER, '>', '=', TOK_IDENTIFIER, TOK_EOL,
                                              TOK_EOF}));
  std::vector<Token> tokens = Scan("a <> b");
  EXPECT_EQ(tokens[1].Location.FirstColumn, 3);
  EXPECT_EQ(tokens[1].Location.LastColumn, 5);
  tokens = Scan("a < b");
  EXPECT_EQ(tokens[1].Location.FirstColumn, 3);
  EXPECT_EQ(tokens[1].Location.LastColumn, 4);
}

TEST(LexerLines, ContinuationJoinsLinesAndOtherwiseTwoPeriodsAreCode429) {
  std::vector<Token> tokens = Scan("a ..\nb\nc");
  ASSERT_EQ(tokens.size(), 6u);
  EXPECT_EQ(tokens[0].Code, TOK_IDENTIFIER);
  EXPECT_EQ(tokens[1].Code, TOK_IDENTIFIER);
  EXPECT_EQ(tokens[1].Text, "b");
  EXPECT_EQ(tokens[1].Location.FirstLine, 2);
  EXPECT_EQ(tokens[1].Location.FirstColumn, 1);
  EXPECT_EQ(tokens[2].Code, TOK_EOL);
  EXPECT_EQ(tokens[3].Location.FirstLine, 3);

  tokens = Scan("a .. b");
  EXPECT_EQ(tokens[1].Code, TOK_DOUBLE_PERIOD);
  EXPECT_EQ(tokens[1].Code, 429);
  EXPECT_EQ(tokens[1].Location.FirstColumn, 3);
  EXPECT_EQ(tokens[1].Location.LastColumn, 5);
  EXPECT_EQ(tokens[2].Code, TOK_IDENTIFIER);
  // Only a newline right after the periods continues the line.
  EXPECT_EQ(Codes("a .. \nb"), (std::vector<int>{TOK_IDENTIFIER, 429, TOK_EOL, TOK_IDENTIFIER,
                                                 TOK_EOL, TOK_EOF}));
  EXPECT_EQ(Codes("..."), (std::vector<int>{429, '.', TOK_EOL, TOK_EOF}));
}

TEST(LexerLines, RunsOfEmptyLinesAndCommentLinesGiveOneEndOfLine) {
  EXPECT_EQ(Codes("a\n\n\n   \n\t// note\n/* x */\nb\n\n"),
            (std::vector<int>{TOK_IDENTIFIER, TOK_EOL, TOK_IDENTIFIER, TOK_EOL, TOK_EOF}));
  // Empty lines at the top produce nothing.
  EXPECT_EQ(Codes("\n\n  \nx"), (std::vector<int>{TOK_IDENTIFIER, TOK_EOL, TOK_EOF}));
  std::vector<Token> tokens = Scan("a // comment\n\n\nb");
  EXPECT_EQ(tokens[1].Code, TOK_EOL);
  EXPECT_EQ(tokens[1].Location.FirstLine, 1);
  EXPECT_EQ(tokens[1].Location.FirstColumn, 13);
  EXPECT_EQ(tokens[2].Location.FirstLine, 4);
}

TEST(LexerLines, EmptyOrCommentOnlyFileEndsAtOnce) {
  EXPECT_EQ(Codes(""), (std::vector<int>{TOK_EOF}));
  EXPECT_EQ(Codes("\n\n\n"), (std::vector<int>{TOK_EOF}));
  EXPECT_EQ(Codes("// only\n/* a\nb */\n  \t\n"), (std::vector<int>{TOK_EOF}));
  // Asking again after the end keeps answering TOK_EOF.
  EXPECT_EQ(TLexer::GetNextTokenStatic(), TOK_EOF);
  EXPECT_EQ(TLexer::LastToken, TOK_EOF);
}

TEST(LexerLines, BlockCommentsSpanLinesWithoutEndOfLine) {
  std::vector<Token> tokens = Scan("a /* one\ntwo ** three\n*/ b\nc");
  ASSERT_EQ(tokens.size(), 6u);
  EXPECT_EQ(tokens[0].Code, TOK_IDENTIFIER);
  EXPECT_EQ(tokens[1].Code, TOK_IDENTIFIER);
  EXPECT_EQ(tokens[1].Location.FirstLine, 3);
  EXPECT_EQ(tokens[1].Location.FirstColumn, 4);
  EXPECT_EQ(tokens[2].Code, TOK_EOL);
  EXPECT_EQ(tokens[3].Text, "c");
  EXPECT_EQ(tokens[3].Location.FirstLine, 4);
  // Comments do not nest: the first */ ends the comment.
  EXPECT_EQ(Codes("/* /* */ x */"),
            (std::vector<int>{TOK_IDENTIFIER, '*', '/', TOK_EOL, TOK_EOF}));
  EXPECT_EQ(Codes("/**/x/***/"), (std::vector<int>{TOK_IDENTIFIER, TOK_EOL, TOK_EOF}));
}

TEST(LexerLines, CarriageReturnsAreRemovedEverywhere) {
  std::vector<Token> tokens = Scan("a\r\n\r\nb\r\n");
  ASSERT_EQ(tokens.size(), 5u);
  EXPECT_EQ(tokens[2].Text, "b");
  EXPECT_EQ(tokens[2].Location.FirstLine, 3);
  EXPECT_EQ(tokens[2].Location.LastColumn, 2);
  Token joined = Single("ab\rcd");
  EXPECT_EQ(joined.Code, TOK_IDENTIFIER);
  EXPECT_EQ(joined.Text, "abcd");
  EXPECT_EQ(Single("\"x\r\ny\"").Text, "x\ny");
}

TEST(LexerLocations, ColumnsCountCodeUnitsAndTabsCountOne) {
  std::vector<Token> tokens = Scan("  Local x:Int = 12\n\tfoo(\"ab\")");
  ASSERT_GE(tokens.size(), 13u);
  auto expect = [&](size_t i, int code, int line, int c1, int c2) {
    EXPECT_EQ(tokens[i].Code, code) << i;
    EXPECT_EQ(tokens[i].Location.FirstLine, line) << i;
    EXPECT_EQ(tokens[i].Location.LastLine, line) << i;
    EXPECT_EQ(tokens[i].Location.FirstColumn, c1) << i;
    EXPECT_EQ(tokens[i].Location.LastColumn, c2) << i;
  };
  expect(0, KEY_LOCAL, 1, 3, 8);
  expect(1, TOK_IDENTIFIER, 1, 9, 10);
  expect(2, ':', 1, 10, 11);
  expect(3, KEY_INT, 1, 11, 14);
  expect(4, '=', 1, 15, 16);
  expect(5, TOK_INT, 1, 17, 19);
  expect(6, TOK_EOL, 1, 19, 20);
  expect(7, TOK_IDENTIFIER, 2, 2, 5);
  expect(8, '(', 2, 5, 6);
  expect(9, TOK_STRING, 2, 6, 10);
  expect(10, ')', 2, 10, 11);
  expect(11, TOK_EOL, 2, 11, 12);
}

TEST(LexerLocations, CalculateLocationCopiesTheRecordAndNoRecordIsNeeded) {
  TLexer::TokenLocation = &Record;
  TLexer::LoadText("t", "abc  defg");
  TLexer::GetNextTokenStatic();
  TLexer::GetNextTokenStatic();
  TLexer::CalculateLocation();
  EXPECT_EQ(TLexer::ErrorStartLine, 1);
  EXPECT_EQ(TLexer::ErrorEndLine, 1);
  EXPECT_EQ(TLexer::ErrorStartCol, 6);
  EXPECT_EQ(TLexer::ErrorEndCol, 10);

  // Without a connected record the lexer still scans (into a record of its own).
  TLexer::TokenLocation = nullptr;
  TLexer::LoadText("t", "x = 1\n");
  EXPECT_EQ(TLexer::GetNextTokenStatic(), TOK_IDENTIFIER);
  EXPECT_EQ(TLexer::GetNextTokenStatic(), '=');
  EXPECT_EQ(TLexer::GetNextTokenStatic(), TOK_INT);
  TLexer::CalculateLocation();
  EXPECT_EQ(TLexer::ErrorStartCol, 5);
  EXPECT_EQ(TLexer::ErrorEndCol, 6);
  TLexer::TokenLocation = &Record;
}

TEST(LexerLocations, LoadResetsThePositionForTheNextFile) {
  Scan("a\nb\nc\nd");
  TLexer::LoadText("second.zin", "\n\nz");
  EXPECT_EQ(TLexer::Lexer->Path, "second.zin");
  EXPECT_EQ(TLexer::Lexer->CurrentLine, 1);
  EXPECT_EQ(TLexer::Lexer->CodePos, 0);
  EXPECT_EQ(TLexer::LastToken, TOK_EOL);
  EXPECT_EQ(TLexer::GetNextTokenStatic(), TOK_IDENTIFIER);
  EXPECT_EQ(Record.FirstLine, 3);
}

TEST(LexerIntegers, ValuesWrapAndSuffixesChooseTheKind) {
  struct Case {
    const char* Source;
    int Code;
    uint64_t Bits;
  };
  const Case cases[] = {
      {"0", TOK_INT, 0},
      {"42", TOK_INT, 42},
      {"3000000000", TOK_INT, IntBits(-1294967296)},
      {"3000000000L", TOK_LONG, 3000000000u},
      {"3000000000l", TOK_LONG, 3000000000u},
      {"18446744073709551617L", TOK_LONG, 1},  // wraps silently in 64 bits
      {"255UB", TOK_UBYTE, 255},
      {"300B", TOK_BYTE, 44},
      {"300b", TOK_BYTE, 44},
      {"10u", TOK_UINT, 10},
      {"4294967295u", TOK_UINT, ~uint64_t{0}},  // the low 32 bits, sign-extended
      {"65537S", TOK_SHORT, 1},
      {"65535us", TOK_USHORT, 65535},
      {"7UUL", TOK_ULONG, 7},
      {"$ff", TOK_INT, 255},
      {"$FF", TOK_INT, 255},
      {"$1B", TOK_INT, 27},
      {"$ffffffff", TOK_INT, ~uint64_t{0}},
      {"$ffffffffL", TOK_LONG, 0xffffffffu},
      {"$10s", TOK_SHORT, 16},
      {"$", TOK_INT, 0},
      {"%101", TOK_INT, 5},
      {"%", TOK_INT, 0},
      {"%11ub", TOK_UBYTE, 3},
  };
  for (const Case& c : cases) {
    Token token = Single(c.Source);
    EXPECT_EQ(token.Code, c.Code) << c.Source;
    EXPECT_EQ(token.Bits, c.Bits) << c.Source;
    EXPECT_EQ(token.Location.FirstColumn, 1) << c.Source;
    EXPECT_EQ(token.Location.LastColumn, static_cast<int>(std::strlen(c.Source)) + 1) << c.Source;
    EXPECT_EQ(TLexer::Lexer->LastLiteralType, c.Code) << c.Source;
  }
}

TEST(LexerIntegers, NumbersStopAtTheFirstCharacterThatIsNoPartOfThem) {
  std::vector<Token> tokens = Scan("-12x %12 $fg 5U)");
  std::vector<int> codes;
  for (const Token& t : tokens) codes.push_back(t.Code);
  EXPECT_EQ(codes, (std::vector<int>{'-', TOK_INT, TOK_IDENTIFIER, TOK_INT, TOK_INT, TOK_INT,
                                     TOK_IDENTIFIER, TOK_UINT, ')', TOK_EOL, TOK_EOF}));
  EXPECT_EQ(tokens[1].Bits, 12u);
  EXPECT_EQ(tokens[2].Text, "x");
  EXPECT_EQ(tokens[3].Bits, 1u);
  EXPECT_EQ(tokens[4].Bits, 2u);
  EXPECT_EQ(tokens[5].Bits, 15u);
  EXPECT_EQ(tokens[6].Text, "g");
  EXPECT_EQ(tokens[7].Location.FirstColumn, 14);
  EXPECT_EQ(tokens[7].Location.LastColumn, 16);
}

TEST(LexerFloats, ValuesAreTheCorrectlyRoundedDecimalDigits) {
  Token token = Single("1.5");
  EXPECT_EQ(token.Code, TOK_FLOAT);
  EXPECT_EQ(token.Bits, std::bit_cast<uint32_t>(1.5f));
  EXPECT_EQ(token.Location.LastColumn, 4);

  token = Single("1.5d");
  EXPECT_EQ(token.Code, TOK_DOUBLE);
  EXPECT_EQ(token.Bits, std::bit_cast<uint64_t>(1.5));
  EXPECT_EQ(token.Location.LastColumn, 5);

  token = Single("3.141592653589793d");
  EXPECT_EQ(token.Code, TOK_DOUBLE);
  EXPECT_EQ(token.Bits, std::bit_cast<uint64_t>(3.141592653589793));

  token = Single("3.14159265358979323846264338327950288D");
  EXPECT_EQ(token.Bits, std::bit_cast<uint64_t>(3.141592653589793));

  EXPECT_EQ(Single("0.1").Bits, std::bit_cast<uint32_t>(0.1f));
  EXPECT_EQ(Single("0.1d").Bits, std::bit_cast<uint64_t>(0.1));
  EXPECT_EQ(Single("16777217.0").Bits, std::bit_cast<uint32_t>(16777216.0f));
  EXPECT_EQ(Single("123456789.125d").Bits, std::bit_cast<uint64_t>(123456789.125));

  token = Single("2.");
  EXPECT_EQ(token.Code, TOK_FLOAT);
  EXPECT_EQ(token.Bits, std::bit_cast<uint32_t>(2.0f));
  EXPECT_EQ(token.Location.LastColumn, 3);

  EXPECT_EQ(Single("2.d").Bits, std::bit_cast<uint64_t>(2.0));
}

TEST(LexerFloats, APeriodAfterDigitsEndsTheLiteral) {
  std::vector<Token> tokens = Scan("1.x");
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_EQ(tokens[0].Code, TOK_FLOAT);
  EXPECT_EQ(tokens[0].Bits, std::bit_cast<uint32_t>(1.0f));
  EXPECT_EQ(tokens[1].Code, TOK_IDENTIFIER);
  EXPECT_EQ(tokens[1].Text, "x");
  EXPECT_EQ(tokens[1].Location.FirstColumn, 3);

  EXPECT_EQ(Codes("1..5"), (std::vector<int>{TOK_FLOAT, '.', TOK_INT, TOK_EOL, TOK_EOF}));
}

TEST(LexerStrings, TextBetweenQuotesMaySpanLines) {
  Token token = Single("\"Hello, World!\"");
  EXPECT_EQ(token.Code, TOK_STRING);
  EXPECT_EQ(token.Text, "Hello, World!");
  EXPECT_EQ(TLexer::Lexer->LastLiteralType, TOK_STRING);
  EXPECT_EQ(Single("\"\"").Text, "");
  EXPECT_EQ(Single("\"// not /* a comment\"").Text, "// not /* a comment");

  std::vector<Token> tokens = Scan("x = \"one\ntwo\" + y\nz");
  ASSERT_EQ(tokens.size(), 9u);
  EXPECT_EQ(tokens[2].Code, TOK_STRING);
  EXPECT_EQ(tokens[2].Text, "one\ntwo");
  EXPECT_EQ(tokens[2].Location.FirstLine, 1);
  EXPECT_EQ(tokens[2].Location.FirstColumn, 5);
  EXPECT_EQ(tokens[2].Location.LastLine, 2);
  EXPECT_EQ(tokens[2].Location.LastColumn, 5);
  EXPECT_EQ(tokens[3].Code, '+');
  EXPECT_EQ(tokens[3].Location.FirstLine, 2);
  EXPECT_EQ(tokens[3].Location.FirstColumn, 6);
  EXPECT_EQ(tokens[4].Text, "y");
  EXPECT_EQ(tokens[6].Text, "z");
  EXPECT_EQ(tokens[6].Location.FirstLine, 3);
}

TEST(LexerStrings, ZeroUnitsStayInTheText) {
  Token token = Single(std::string_view("\"a\0b\"", 5));
  EXPECT_EQ(token.Text, std::string("a\0b", 3));
}

TEST(LexerEncodings, EightBitTextIsOneUnitPerByte) {
  TLexer::LoadText("t", "s = \"\xE9\xFF\"");
  EXPECT_EQ(DecodedText(), std::u16string(u"s = \"\u00E9\u00FF\"\n"));
  EXPECT_EQ(Single("\"\xE9\xFF\"").Text, "\xE9\xFF");
}

TEST(LexerEncodings, Utf8WithMarkDecodesToUtf16) {
  // BOM, "é" (2 bytes), "€" (3 bytes, U+20AC), U+1F600 (4 bytes: a surrogate pair).
  std::string source = "\xEF\xBB\xBFs = \"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\" x";
  TLexer::LoadText("t", source);
  EXPECT_EQ(DecodedText(), std::u16string(u"s = \"\u00E9\u20AC\U0001F600\" x\n"));
  std::vector<Token> tokens = Scan(source);
  ASSERT_EQ(tokens.size(), 6u);
  EXPECT_EQ(tokens[0].Location.FirstColumn, 1);  // the mark takes no column
  EXPECT_EQ(tokens[2].Text, std::string("\xE9\xAC\x3D\x00", 4));  // low 8 bits of each unit
  EXPECT_EQ(tokens[2].Location.LastColumn, 11);  // 4 code units between the quotes
  EXPECT_EQ(tokens[3].Location.FirstColumn, 12);
}

TEST(LexerEncodings, InvalidUtf8BecomesReplacementCharacters) {
  // A stray continuation byte, a cut-short sequence, an overlong form and an encoded surrogate.
  TLexer::LoadText("t", "\xEF\xBB\xBF\x80|\xE2\x82|\xC0\xAF|\xED\xA0\x80|\xF4\x90");
  EXPECT_EQ(DecodedText(),
            std::u16string(u"\uFFFD|\uFFFD|\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD|\uFFFD\uFFFD\n"));
  EXPECT_EQ(Single("\xEF\xBB\xBF\"\xC3\"").Text, "\xFD");
}

TEST(LexerEncodings, Utf16BothByteOrders) {
  std::u16string text = u"Local s:String = \"\u00E9\u20AC\"\r\nPrint s";
  std::string le = "\xFF\xFE", be = "\xFE\xFF";
  for (char16_t unit : text) {
    le += static_cast<char>(unit & 0xFF);
    le += static_cast<char>(unit >> 8);
    be += static_cast<char>(unit >> 8);
    be += static_cast<char>(unit & 0xFF);
  }
  for (const std::string& source : {le, be}) {
    TLexer::LoadText("t", source);
    EXPECT_EQ(DecodedText(), std::u16string(u"Local s:String = \"\u00E9\u20AC\"\nPrint s\n"));
    std::vector<Token> tokens = Scan(source);
    ASSERT_EQ(tokens.size(), 11u);
    EXPECT_EQ(tokens[0].Code, KEY_LOCAL);
    EXPECT_EQ(tokens[5].Code, TOK_STRING);
    EXPECT_EQ(tokens[5].Text, "\xE9\xAC");
    EXPECT_EQ(tokens[7].Text, "Print");
    EXPECT_EQ(tokens[7].Location.FirstLine, 2);
  }
  // An odd trailing byte cannot be a code unit; it is kept as a replacement character.
  TLexer::LoadText("t", std::string("\xFF\xFE" "a\0b", 5));
  EXPECT_EQ(DecodedText(), std::u16string(u"a\uFFFD\n"));
  TLexer::LoadText("t", "\xFE\xFF");
  EXPECT_EQ(DecodedText(), std::u16string(u"\n"));
}

TEST(LexerFiles, LoadReadsTheWholeFile) {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("lexer_test_" + std::to_string(getpid()) + ".zin");
  {
    std::ofstream out(path, std::ios::binary);
    out << "\xEF\xBB\xBF" << "Function Main()\r\n  Print \"hi\"\r\nEnd Function\r\n";
  }
  TLexer::TokenLocation = &Record;
  TLexer::Load(path.string());
  std::filesystem::remove(path);
  EXPECT_EQ(TLexer::Lexer->Path, path.string());
  std::vector<int> codes;
  for (int code; (code = TLexer::GetNextTokenStatic()) != TOK_EOF;) codes.push_back(code);
  EXPECT_EQ(codes, (std::vector<int>{KEY_FUNCTION, TOK_IDENTIFIER, '(', ')', TOK_EOL,
                                     TOK_IDENTIFIER, TOK_STRING, TOK_EOL, KEY_ENDFUNCTION,
                                     TOK_EOL}));
}

TEST(LexerFiles, UnreadableFileIsALexerError) {
  // The location lines show whatever the record held before the file.
  std::string missing = "/nonexistent/dir/file.zin";
  EXPECT_EXIT(LoadToStderr(missing, {7, 8, 9, 10}), testing::ExitedWithCode(255),
              ErrorRegex("Unable to open file " + missing, 7, 9, 8, 10));
  std::string folder = std::filesystem::temp_directory_path().string();
  EXPECT_EXIT(LoadToStderr(folder, {1, 2, 3, 4}), testing::ExitedWithCode(255),
              ErrorRegex("Unable to open file " + folder, 1, 3, 2, 4));
}

TEST(LexerErrors, CharactersThatStartNoToken) {
  EXPECT_LEXER_ERROR("x = #y", "Unknown literal", 1, 1, 5, 6);
  EXPECT_LEXER_ERROR("a\n  !b", "Unknown literal", 2, 2, 3, 4);
  EXPECT_LEXER_ERROR(std::string_view("ab\0", 3), "Unknown literal", 1, 1, 3, 4);
  EXPECT_LEXER_ERROR("a ? b", "Unknown literal", 1, 1, 3, 4);
  EXPECT_LEXER_ERROR("'c'", "Unknown literal", 1, 1, 1, 2);
  EXPECT_LEXER_ERROR("@", "Unknown literal", 1, 1, 1, 2);
  EXPECT_LEXER_ERROR("x\x01", "Unknown literal", 1, 1, 2, 3);
  EXPECT_LEXER_ERROR("caf\xE9", "Unknown literal", 1, 1, 4, 5);
  EXPECT_LEXER_ERROR("\xEF\xBB\xBF\xE2\x82\xAC", "Unknown literal", 1, 1, 1, 2);
}

TEST(LexerErrors, UnterminatedStringAndComment) {
  EXPECT_LEXER_ERROR("a\n  s = \"abc\ndef", "Lexer error", 2, 2, 7, 8);
  EXPECT_LEXER_ERROR("\"", "Lexer error", 1, 1, 1, 2);
  EXPECT_LEXER_ERROR("x\n /* open\n\n", "/* without matching */", 2, 2, 2, 3);
  EXPECT_LEXER_ERROR("/* a *", "/* without matching */", 1, 1, 1, 2);
}

TEST(LexerErrors, ScientificNotation) {
  EXPECT_LEXER_ERROR("x = 1e5", "Scientific notation not yet supported", 1, 1, 5, 6);
  EXPECT_LEXER_ERROR("1.5E3", "Scientific notation not yet supported", 1, 1, 1, 2);
  EXPECT_LEXER_ERROR("\n  12.0e", "Scientific notation not yet supported", 2, 2, 3, 4);
}

TEST(LexerTokenNames, KeywordsCharactersOperatorsAndKinds) {
  EXPECT_EQ(TLexer::TokenToString(260), "And");
  EXPECT_EQ(TLexer::TokenToString(312), "Mod");
  EXPECT_EQ(TLexer::TokenToString(335), "Shl");
  EXPECT_EQ(TLexer::TokenToString(352), "Varptr");
  EXPECT_EQ(TLexer::TokenToString(279), "EndIf");
  EXPECT_EQ(TLexer::TokenToString(362), "Protected");
  EXPECT_EQ(TLexer::TokenToString(331), "");  // Sar is no keyword
  EXPECT_EQ(TLexer::TokenToString(258), "");

  EXPECT_EQ(TLexer::TokenToString('='), "=");
  EXPECT_EQ(TLexer::TokenToString('+'), "+");
  EXPECT_EQ(TLexer::TokenToString(127), "\x7F");

  const char* operators[] = {"+", "-", "*", "/", "^", "(", ")", ">",  "<", "=",
                             ">=", "<=", "<>", "~", "|", "&", ":", ",", ".", ";",
                             "$", "!", "@", "%", "'", "[", "]", "#"};
  for (int code = 401; code <= 428; ++code)
    EXPECT_EQ(TLexer::TokenToString(code), operators[code - 401]) << code;

  EXPECT_EQ(TLexer::TokenToString(TOK_EOL), "New Line");
  EXPECT_EQ(TLexer::TokenToString(TOK_IDENTIFIER), "Identifier");
  EXPECT_EQ(TLexer::TokenToString(TOK_INT), "Int literal");
  EXPECT_EQ(TLexer::TokenToString(TOK_FLOAT), "Float literal");
  EXPECT_EQ(TLexer::TokenToString(TOK_STRING), "String literal");
  for (int code : {128, 400, 429, 510, 513, 514, 516, 518, 520, 523, 1027, 99999, -5})
    EXPECT_EQ(TLexer::TokenToString(code), "") << code;
}

TEST(LexerTokenCodes, NumberingSharedWithTheGrammar) {
  EXPECT_EQ(KEY_ABSTRACT, 259);
  EXPECT_EQ(KEY_SAR, 331);
  EXPECT_EQ(KEY_PROTECTED, 362);
  EXPECT_EQ(TOK_ULONG - TOK_LONG, 7);
  EXPECT_EQ(TOK_UBYTE - TOK_BYTE, 7);
  EXPECT_EQ(TYPE_BYTE, 1025);
  EXPECT_EQ(TYPE_ARRAY, 1041);
  EXPECT_EQ(FLAG_ABSTRACT | FLAG_FINAL, 3);
}

}  // namespace
}  // namespace zintrel
