#pragma once
// Build layout and path utilities. Paths use "/" as separator; every utility treats a backslash
// as "/".
#include <string>
#include <string_view>
#include <vector>

#include "support/Files.h"
#include "support/Text.h"

namespace zintrel {

inline constexpr const char* BUILD_FOLDER = ".zintrel";
inline constexpr const char* OPTIONS_FILE = "options";
inline constexpr const char* SOURCE_EXTENSION = "zn";
inline constexpr const char* MODULE_FOLDER = "mod";
// The module whose start-up code every program runs first.
inline constexpr const char* APPINIT_MODULE = "Zintrel.Core.AppInit";

// Directories fixed at start-up. LaunchDirectory is where the compiler was started; the working
// directory is the compiler's own folder for the whole run; ModuleRoot is FullPath("mod").
struct TPaths {
  static std::string LaunchDirectory;
  static std::string WorkingDirectory;
  static std::string ModuleRoot;

  // Takes the launch directory, changes the working directory to the folder of the running
  // executable (as the operating system reports it) and computes ModuleRoot. False when the
  // executable's folder cannot be found or entered.
  static bool InitStartup();
  // The current working directory as this process sees it, cached after start-up.
  static const std::string& CurrentDirectory();
};

std::string Slashes(std::string_view path);            // backslashes become "/"
std::string FolderPart(std::string_view path);         // text before the last slash
std::string FilePart(std::string_view path);           // text after the last slash
std::string ExtensionPart(std::string_view path);      // after the last dot of the file part
std::string StripExtension(std::string_view path);
// The path below the module root ("Zintrel/IO/IO.zn"); empty for a path outside the tree.
std::string PlaceInModuleTree(const std::string& path);     // without the dot and the extension
std::string BareName(std::string_view path);           // file part without extension

std::string FullPath(std::string_view path);
std::string AbsolutePath(std::string_view path);
std::string RelativePath(std::string_view from, std::string_view to);
bool IsHiddenName(std::string_view path);

}  // namespace zintrel
