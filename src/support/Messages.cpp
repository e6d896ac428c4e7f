#include "support/Messages.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "support/Beside.h"
#include "support/Files.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZINTREL_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ZINTREL_ASAN 1
#endif
#ifdef ZINTREL_ASAN
#include <fcntl.h>
#include <sanitizer/asan_interface.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

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
  TBesideWork::HoldBackReport(message);
  OutputCompilerMessage(message);
  ExitProcess(-1);
}

namespace {
void (*ExitHook)() = nullptr;
}  // namespace

void AtExitProcess(void (*hook)()) { ExitHook = hook; }

void ExitProcess(int status) {
  std::fflush(stdout);
  RemoveUnfinishedFiles();
  if (void (*hook)() = ExitHook) {
    ExitHook = nullptr;
    hook();
  }
  // Nodes and lists are never freed; skipping static destructors keeps exit instant.
  std::_Exit(status);
}

void PrepareDeepExit() {
#ifdef ZINTREL_ASAN
  // Before every call that does not return, ASan clears the shadow of the stack in use; with
  // more than 64 MB in use (a deeply nested program ending on an error) it prints a warning
  // instead, once per process. The compiler's only such calls end the process at once, so the
  // clearing is never needed: the warning is spent here, on a large alternate signal stack that
  // ASan clears too, with standard error sent nowhere for that moment.
  constexpr size_t size = size_t{65} << 20;
  void* area = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE,
                    -1, 0);
  if (area == MAP_FAILED) return;
  stack_t large{};
  large.ss_sp = area;
  large.ss_size = size;
  stack_t previous{};
  const int savedError = dup(2);
  const int nowhere = open("/dev/null", O_WRONLY);
  if (savedError >= 0 && nowhere >= 0 && sigaltstack(&large, &previous) == 0) {
    dup2(nowhere, 2);
    __asan_handle_no_return();
    dup2(savedError, 2);
    sigaltstack(&previous, nullptr);
  }
  if (nowhere >= 0) close(nowhere);
  if (savedError >= 0) close(savedError);
  munmap(area, size);
#endif
}

}  // namespace zintrel
