#pragma once
// The node factory through which every syntax-tree node is created, so that the tree consists of
// the node classes of the active target.

namespace zintrel {

class TProgramNode;

class TTarget {
 public:
  virtual ~TTarget() = default;
  virtual TProgramNode* CreateProgramNode() = 0;
  // Connects the parser's node-building callbacks to this target.
  virtual int InitFunctionTable() = 0;
};

// The target chosen by the driver for the current compilation.
extern TTarget* ActiveTarget;

}  // namespace zintrel
