#pragma once
// The toolchain's command lines. They are built here as plain text, one function per tool, so
// that every line can be checked character for character without running anything; paths are
// wrapped in double quotes and object lists end in a blank.
#include <string>
#include <string_view>
#include <vector>

namespace zintrel {

// "\"" + path + "\"".
std::string Quote(std::string_view path);
// Quoted paths, each followed by one blank.
std::string ObjectList(const std::vector<std::string>& paths);

// What generated code needs of g++ beyond the language standard. Integers wrap around on
// overflow in the language; in C++ a signed overflow is undefined, which the optimiser may exploit,
// unless -fwrapv makes it wrap. -frounding-math keeps g++ 12 from folding 0 - Double(n) into
// -Double(n), which is -0.0 for n = 0.
inline constexpr const char* CODE_FLAGS = "-fwrapv -frounding-math";

// g++ -Wall CODE_FLAGS INCLUDE -c MODE SOURCE, MODE being "-g " or "-O3 ".
std::string CompileCommandLine(std::string_view sourcePart, std::string_view includePart,
                               bool debug);
std::string LinkCommandLine(std::string_view objects, std::string_view output);
std::string PartialLinkCommandLine(std::string_view objects, std::string_view output);
std::string ArchiveCommandLine(std::string_view objects, std::string_view output);

// A double quote inside a path would end its quoted argument and split the rest into other
// arguments of the tool: such paths are refused before anything runs.
bool SafeInCommandLine(std::string_view path);

}  // namespace zintrel
