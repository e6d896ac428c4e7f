#include "driver/CommandLine.h"

#include <algorithm>

#include "support/Messages.h"
#include "support/Paths.h"

namespace zintrel {

CLIArgument CLIArgument::Create(std::string shortName, std::string longName,
                                std::string description, int32_t paramCount, int32_t optional,
                                std::string defaultValue, int32_t configValue) {
  CLIArgument a;
  a.ShortName = std::move(shortName);
  a.LongName = std::move(longName);
  a.Description = std::move(description);
  a.ParamCount = paramCount;
  a.Optional = optional;
  a.DefaultValue = std::move(defaultValue);
  a.ConfigValue = configValue;
  return a;
}

std::string CLIArgument::GetNames() const {
  std::string text;
  if (!ShortName.empty()) text += "-" + ShortName;
  if (!LongName.empty()) {
    if (!text.empty()) text += "|";
    text += "--" + LongName;
  }
  return text;
}

std::string CLIArgument::GetShortDescription() const {
  std::string text = GetNames();
  if (ParamCount > 0) text += " <param>";
  if (Optional != 0) text = "[" + text + "]";
  return text;
}

std::string CLIArgument::GetLongDescription() const {
  std::string text;
  if (!ShortName.empty()) text += "-" + ShortName;
  if (!LongName.empty()) {
    if (!text.empty()) text += ", ";
    text += "--" + LongName;
  }
  text += "\t\t" + Description;
  if (ParamCount > 0) text += " (default: \"" + DefaultValue + "\")";
  return text;
}

bool CLIArgument::HasName(const std::string& name) const {
  return (!ShortName.empty() && ShortName == name) || (!LongName.empty() && LongName == name);
}

void CLI::AddArgument(CLIArgument argument) { Arguments.push_back(std::move(argument)); }

int32_t CLI::ParseCommandLine(const std::vector<std::string>& args) {
  Config.assign(Arguments.size(), std::string());
  size_t lastConsumed = 0;
  for (const CLIArgument& a : Arguments) {
    std::string& value = Config[static_cast<size_t>(a.ConfigValue)];
    value = a.DefaultValue;
    for (size_t i = 0; i < args.size(); ++i) {
      // At most two leading dashes are removed, so "---d" keeps one.
      std::string_view name(args[i]);
      if (!name.empty() && name[0] == '-') name.remove_prefix(1);
      if (!name.empty() && name[0] == '-') name.remove_prefix(1);
      if (!a.HasName(std::string(name))) continue;
      lastConsumed = std::max(lastConsumed, i);
      if (a.ParamCount == 0) {
        value = FLAG_ON;
      } else if (i + 1 < args.size()) {
        value = args[i + 1];
        lastConsumed = std::max(lastConsumed, i + 1);
      } else {
        OutputCompilerMessage("Command line error, " + a.GetNames() + " needs a parameter!");
        return 0;
      }
    }
  }
  if (lastConsumed + 1 >= args.size()) {
    OutputCompilerMessage("Command line error, input file omitted!");
    return 0;
  }
  InputFile = args[lastConsumed + 1];
  InputFilePath = AbsolutePath(InputFile);
  return 1;
}

std::string CLI::GetUsageDescription() const {
  std::string text = "compiler ";
  for (const CLIArgument& a : Arguments) text += a.GetShortDescription() + " ";
  text += "FILE \n";
  for (const CLIArgument& a : Arguments) text += a.GetLongDescription() + "\n";
  return text;
}

void CLI::AddCompilerOptions() {
  AddArgument(CLIArgument::Create("o", "output", "Specifies output file name", 1, 1, "a.out", 0));
  AddArgument(CLIArgument::Create("d", "debug", "Enables debug mode", 0, 1, "", 1));
  AddArgument(CLIArgument::Create("h", "help", "Displays this information", 0, 1, "", 2));
  AddArgument(CLIArgument::Create("x", "execute", "Execute the program after compilation", 0, 1, "", 3));
  AddArgument(CLIArgument::Create("r", "recompile", "Forces complete recompilation", 0, 1, "", 4));
  AddArgument(CLIArgument::Create("t", "target", "Select a target language", 1, 1, "cpp", 5));
  AddArgument(CLIArgument::Create("m", "module", "Compile a specific module", 0, 1, "", 6));
}

}  // namespace zintrel
