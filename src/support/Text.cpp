#include "support/Text.h"

namespace zintrel {

std::string ToLower(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  return result;
}

std::string ToUpper(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - ('a' - 'A'));
  return result;
}

std::string IdentifierCharacters(std::string_view text) {
  std::string result;
  for (char c : text)
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_')
      result += c;
  return result;
}

std::string IdentifierFromText(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text)
    result += (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ? c : '_';
  return result;
}

int FindAtDepth(std::string_view text, std::string_view pattern, int start, int depth) {
  if (start < 0) start = 0;
  size_t counted = static_cast<size_t>(start);
  int level = 0;
  size_t occurrence = text.find(pattern, counted);
  while (occurrence != std::string_view::npos) {
    for (size_t i = counted; i < occurrence; ++i) {
      char c = text[i];
      if (c == '(' || c == '[') ++level;
      else if (c == ')' || c == ']') --level;
    }
    if (level == depth) return static_cast<int>(occurrence);
    counted = occurrence;
    occurrence = text.find(pattern, occurrence + 1);
  }
  return -1;
}

std::string LocationLines(int32_t firstLine, int32_t lastLine, int32_t firstColumn,
                          int32_t lastColumn) {
  return "\nIn line " + std::to_string(firstLine) + "-" + std::to_string(lastLine) +
         "\nIn column " + std::to_string(firstColumn) + "-" + std::to_string(lastColumn);
}

}  // namespace zintrel
