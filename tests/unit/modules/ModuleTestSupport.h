#pragma once
// Test support for records, rebuild decisions and module trees: a temporary folder with files
// whose modification times the test sets, and the driver phases run quietly.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "cpp/CPPTarget.h"
#include "driver/Compiler.h"
#include "support/Paths.h"
#include "model/ASTNode.h"
#include "model/NodeFactory.h"

namespace zintrel::testing_support {


// In a death test, the compiler's messages (standard output) are to be matched on standard error.
inline void MessagesToStderr() {
  std::fflush(stdout);
  dup2(2, 1);
}

inline void UseCppTarget() {
  if (ActiveTarget == nullptr) ActiveTarget = new TCPPTarget();
  TASTNode::InitStackLimit();
}

class TempTree {
 public:
  // Trees of many folders go to memory where the machine offers it: on disk their creation
  // costs far more than the loading under test.
  explicit TempTree(const std::string& tag, bool inMemory = false) {
    static int counter = 0;
    const bool shm = inMemory && std::filesystem::is_directory("/dev/shm");
    Base = (shm ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path()) /
           ("zintrel-" + tag + "-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(Base);
    std::filesystem::create_directories(Base);
    Base = std::filesystem::canonical(Base);
  }
  ~TempTree() { std::filesystem::remove_all(Base); }
  std::string Path(const std::string& relative) const { return (Base / relative).string(); }
  // Writes the file (folders made as needed) and gives it the time, in seconds plus nanoseconds.
  std::string Write(const std::string& relative, const std::string& text, int64_t seconds = 1000000000,
                    int64_t nanoseconds = 0) const {
    std::filesystem::path p = Base / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
    SetTime(p.string(), seconds, nanoseconds);
    return p.string();
  }
  static void SetTime(const std::string& path, int64_t seconds, int64_t nanoseconds = 0) {
    timespec times[2];
    times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(seconds);
    times[0].tv_nsec = times[1].tv_nsec = static_cast<long>(nanoseconds);
    utimensat(AT_FDCWD, path.c_str(), times, 0);
  }
  std::filesystem::path Base;
};

// Runs Setup, Parse and SemanticAnalysis on a main file with the recompile flag as given;
// returns what the driver printed.
inline std::string ParseAndCheck(TCompiler& compiler, const std::string& main, bool recompile) {
  ::testing::internal::CaptureStdout();
  compiler.Setup({"a.out", "", "", "", recompile ? "on" : "", "cpp", ""}, main);
  compiler.Parse();
  compiler.SemanticAnalysis();
  return ::testing::internal::GetCapturedStdout();
}

}  // namespace zintrel::testing_support
