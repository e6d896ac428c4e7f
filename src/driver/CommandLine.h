#pragma once
// Command-line options: the option table, the parse of the argument array and the usage text.
#include <string>
#include <vector>

namespace zintrel {

class CLIArgument {
 public:
  std::string ShortName;    // used after one dash; empty: none
  std::string LongName;     // used after two dashes; empty: none
  std::string Description;  // one-line help text
  int32_t ParamCount = 0;   // 0: a flag; > 0: takes the next argument as its value
  int32_t Optional = 0;     // shown in square brackets in the usage line
  int32_t ConfigValue = 0;  // index of the value in the value array
  std::string DefaultValue;

  static CLIArgument Create(std::string shortName, std::string longName, std::string description,
                            int32_t paramCount, int32_t optional, std::string defaultValue,
                            int32_t configValue);

  std::string GetShortDescription() const;
  std::string GetLongDescription() const;
  std::string GetNames() const;
  bool HasName(const std::string& name) const;
};

// Indices of the option values.
enum ConfigIndex : int32_t {
  CONFIG_OUTPUT = 0,
  CONFIG_DEBUG = 1,
  CONFIG_HELP = 2,
  CONFIG_EXECUTE = 3,
  CONFIG_RECOMPILE = 4,
  CONFIG_TARGET = 5,
  CONFIG_MODULE = 6,
};

class CLI {
 public:
  std::vector<CLIArgument> Arguments;
  std::vector<std::string> Config;
  std::string InputFilePath;  // the input argument made absolute
  std::string InputFile;      // the input argument as written

  void AddArgument(CLIArgument argument);
  // 1 on success, 0 on a command-line error (its message already printed). Element 0 of args
  // is the compiler's own path and is scanned like every other element.
  int32_t ParseCommandLine(const std::vector<std::string>& args);
  std::string GetUsageDescription() const;

  // The seven options of the compiler, in the order of the usage text.
  void AddCompilerOptions();
};

// Value of a flag that was given.
inline constexpr const char* FLAG_ON = "on";

}  // namespace zintrel
