#include "support/Messages.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace zintrel {

namespace {
std::vector<std::string> WrittenLines;
}  // namespace

const std::vector<std::string>& WrittenMessageLines() { return WrittenLines; }

void OutputCompilerMessage(std::string_view message) {
  std::string text;
  text.reserve(message.size() + 1);
  for (size_t i = 0; i < message.size(); ++i) {
    if (message[i] == '\r' && i + 1 < message.size() && message[i + 1] == '\n') continue;
    text.push_back(message[i]);
  }
  for (size_t start = 0; start <= text.size();) {
    const size_t end = std::min(text.find('\n', start), text.size());
    WrittenLines.emplace_back(text, start, end - start);
    start = end + 1;
  }
  text.push_back('\n');
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

void TMessageStream::Write(std::string_view piece) {
  std::string text;
  text.reserve(piece.size() + 1);
  for (char c : piece) {
    if (PendingReturn && c != '\n') text.push_back('\r');
    PendingReturn = c == '\r';
    if (!PendingReturn) text.push_back(c);
  }
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

void TMessageStream::End() {
  if (PendingReturn) std::fputc('\r', stdout);
  PendingReturn = false;
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void AbortWithMessage(std::string_view message) {
  OutputCompilerMessage(message);
  ExitProcess(-1);
}

void ExitProcess(int status) {
  std::fflush(stdout);
  // Nodes and lists are never freed; skipping static destructors keeps exit instant.
  std::_Exit(status);
}

}  // namespace zintrel
