#pragma once
// The driver's use of records and modules for one program: the files a rebuilt root depends on,
// and the modules the program imports.
#include <map>
#include <string>
#include <vector>

namespace zintrel {

class TModuleScope;
class TProgramNode;

// Replaces the path keys of the roots rebuilt from records by the dependency nodes of the roots
// of those paths; a path without a root ends the compilation ("Unable to resolve dependency").
void ResolveRecordDependencies(const std::vector<TProgramNode*>& roots,
                               const std::map<std::string, TProgramNode*>& rootMap);

// Loads the modules every root imports and checks them: the program's module scope, whose
// parent is the core module scope.
TModuleScope* LoadProgramModules(const std::vector<TProgramNode*>& roots);

}  // namespace zintrel
