#include "support/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

extern char** environ;

namespace zintrel {

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> arguments;
  std::string current;
  bool inArgument = false, quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      inArgument = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inArgument) arguments.push_back(std::move(current));
      current.clear();
      inArgument = false;
    } else {
      current.push_back(c);
      inArgument = true;
    }
  }
  if (inArgument) arguments.push_back(std::move(current));
  return arguments;
}

namespace {

class TPipe {
 public:
  TPipe() {
    if (::pipe2(Ends, O_CLOEXEC) != 0) Ends[0] = Ends[1] = -1;
  }
  ~TPipe() {
    CloseRead();
    CloseWrite();
  }
  TPipe(const TPipe&) = delete;
  TPipe& operator=(const TPipe&) = delete;
  bool Ok() const { return Ends[0] >= 0; }
  int Read() const { return Ends[0]; }
  int Write() const { return Ends[1]; }
  void CloseRead() { Close(Ends[0]); }
  void CloseWrite() { Close(Ends[1]); }

 private:
  static void Close(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
  int Ends[2] = {-1, -1};
};

}  // namespace

bool RunChild(const std::string& commandLine, const TChildOptions& options, TChildResult& result) {
  result = TChildResult();
  std::vector<std::string> arguments = SplitCommandLine(commandLine);
  if (arguments.empty()) return false;
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  TPipe collected;
  if (!collected.Ok()) return false;
  const int collectedFd = options.CollectError ? STDERR_FILENO : STDOUT_FILENO;
  const int otherFd = options.CollectError ? STDOUT_FILENO : STDERR_FILENO;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, collected.Write(), collectedFd);
  if (!options.Inherit) {
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, otherFd, "/dev/null", O_WRONLY, 0);
  }
  pid_t child = 0;
  int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) return false;
  collected.CloseWrite();

  // Reads until the child closes its end or ends itself. A child may hand the pipe on to its
  // own children: the toolchain's wait for theirs, so their output is all there when the child
  // ends, but a program may leave one running in the background, holding the pipe for as long
  // as it likes. Once the child has ended, what is already in the pipe is read and the rest
  // (a background child's later output) is not waited for.
  const int ending = static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
  char buffer[65536];
  int status = 0;
  bool reaped = false, ended = false;
  auto append = [&](ssize_t got) {
    std::string_view piece(buffer, static_cast<size_t>(got));
    result.Text.append(piece);
    if (options.OnText) options.OnText(piece);
  };
  while (!ended) {
    pollfd waiting[2] = {{collected.Read(), POLLIN, 0}, {ending, POLLIN, 0}};
    // Without a process descriptor (an old kernel) the child's end is looked for every tenth
    // of a second instead.
    const int ready = ::poll(waiting, ending >= 0 ? 2 : 1, ending >= 0 ? -1 : 100);
    if (ready < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (waiting[0].revents != 0) {
      ssize_t got = ::read(collected.Read(), buffer, sizeof buffer);
      if (got == 0 || (got < 0 && errno != EINTR)) break;
      if (got > 0) append(got);
    }
    if (ending >= 0) {
      ended = waiting[1].revents != 0;
    } else if (::waitpid(child, &status, WNOHANG) == child) {
      ended = reaped = true;
    }
  }
  if (ended) {
    int left = 0;
    if (::ioctl(collected.Read(), FIONREAD, &left) != 0) left = 0;
    ::fcntl(collected.Read(), F_SETFL, O_NONBLOCK);
    while (left > 0) {
      ssize_t got = ::read(collected.Read(), buffer,
                           std::min(sizeof buffer, static_cast<size_t>(left)));
      if (got <= 0) break;
      append(got);
      left -= static_cast<int>(got);
    }
  }
  if (ending >= 0) ::close(ending);
  while (!reaped && ::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) result.Status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.Signal = WTERMSIG(status);
  return true;
}

std::string SignalName(int signal) {
  const char* abbreviation = sigabbrev_np(signal);
  return abbreviation != nullptr ? std::string("SIG") + abbreviation : std::to_string(signal);
}

}  // namespace zintrel
