#pragma once
// Small text helpers shared by every layer: case conversion (names are compared lower-cased),
// identifier characters, bracket-aware search and the location lines of reports.
#include <cstdint>
#include <string>
#include <string_view>

namespace zintrel {

std::string ToLower(std::string_view text);  // ASCII letters only, as names are compared
std::string ToUpper(std::string_view text);
// The letters, digits and underscores of the text, in order.
std::string IdentifierCharacters(std::string_view text);
// The text with every character that cannot stand in a C identifier made "_".
std::string IdentifierFromText(std::string_view text);
// Position of the first occurrence of pattern at or after start whose bracket depth (count of
// "(" and "[" minus ")" and "]" before it) equals depth; -1 when there is none.
int FindAtDepth(std::string_view text, std::string_view pattern, int start, int depth);
// "\nIn line a-b\nIn column c-d": the location lines that end every located report.
std::string LocationLines(int32_t firstLine, int32_t lastLine, int32_t firstColumn,
                          int32_t lastColumn);

}  // namespace zintrel
