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

  // Pipe 0 carries the collected stream, pipe 1 the other one when it is passed on piece by
  // piece.
  TPipe pipes[2];
  const bool passOther = options.Inherit && options.OnOtherText != nullptr;
  if (!pipes[0].Ok() || (passOther && !pipes[1].Ok())) return false;
  const int collectedFd = options.CollectError ? STDERR_FILENO : STDOUT_FILENO;
  const int otherFd = options.CollectError ? STDOUT_FILENO : STDERR_FILENO;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipes[0].Write(), collectedFd);
  if (passOther) posix_spawn_file_actions_adddup2(&actions, pipes[1].Write(), otherFd);
  if (!options.Inherit) {
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, otherFd, "/dev/null", O_WRONLY, 0);
  }
  pid_t child = 0;
  int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) return false;
  pipes[0].CloseWrite();
  pipes[1].CloseWrite();

  // Reads until the child closes its ends or ends itself. A child may hand the pipes on to its
  // own children: the toolchain's wait for theirs, so their output is all there when the child
  // ends, but a program may leave one running in the background, holding a pipe for as long
  // as it likes. Once the child has ended, what is already in the pipes is read and the rest
  // (a background child's later output) is not waited for.
  const int ending = static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
  char buffer[65536];
  int status = 0;
  bool reaped = false, ended = false;
  bool open[2] = {true, passOther};
  auto deliver = [&](int stream, ssize_t got) {
    std::string_view piece(buffer, static_cast<size_t>(got));
    if (stream == 1) {
      options.OnOtherText(piece);
      return;
    }
    result.Text.append(piece);
    if (options.OnText) options.OnText(piece);
  };
  while (!ended && (open[0] || open[1])) {
    pollfd waiting[3] = {{open[0] ? pipes[0].Read() : -1, POLLIN, 0},
                         {open[1] ? pipes[1].Read() : -1, POLLIN, 0},
                         {ending, POLLIN, 0}};
    // Without a process descriptor (an old kernel) the child's end is looked for every tenth
    // of a second instead.
    const int ready = ::poll(waiting, ending >= 0 ? 3 : 2, ending >= 0 ? -1 : 100);
    if (ready < 0) {
      if (errno == EINTR) continue;
      break;
    }
    // One piece per round, the collected stream first: a program flushes its output before it
    // reports an error, so its lines come before the error's whenever both are waiting.
    for (int stream = 0; stream < 2; ++stream) {
      if (waiting[stream].revents == 0) continue;
      ssize_t got = ::read(pipes[stream].Read(), buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) break;
      if (got <= 0) open[stream] = false;
      else deliver(stream, got);
      break;
    }
    if (ending >= 0) {
      ended = waiting[2].revents != 0;
    } else if (::waitpid(child, &status, WNOHANG) == child) {
      ended = reaped = true;
    }
  }
  for (int stream = 0; ended && stream < 2; ++stream) {
    int left = 0;
    if (!open[stream] || ::ioctl(pipes[stream].Read(), FIONREAD, &left) != 0) left = 0;
    ::fcntl(pipes[stream].Read(), F_SETFL, O_NONBLOCK);
    while (left > 0) {
      ssize_t got = ::read(pipes[stream].Read(), buffer,
                           std::min(sizeof buffer, static_cast<size_t>(left)));
      if (got <= 0) break;
      deliver(stream, got);
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
