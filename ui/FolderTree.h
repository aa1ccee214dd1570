#pragma once
// A tree of the folders on the computer's drives over the system's tree-view control: the
// computer at the root, the drives under it, folders only, with the shell's icons. Subfolders
// are read when a folder is first expanded, so a large disk is never walked up front.

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Control.h"

class TFolderTree : public TControl {
 public:
  explicit TFolderTree(const TControlSpec& spec) : TControl(spec) {}
  TAccessibleFacts AccessibleFacts() const override;

  // Asked for each drive and folder before it is put into the tree; false keeps it out.
  std::function<bool(const std::string& path, bool isFolder)> OnAddFolder;
  // Raised when the selection changes, by the user or by the program.
  std::function<void(TFolderTree& sender)> OnChange;

  // The selected folder's path ("C:\" for a drive, "C:\Games" for a folder); empty when
  // nothing or the computer itself is selected.
  std::string SelectedPath() const;
  // Expands the tree down to the folder and selects it; throws when it is not in the tree.
  void SelectPath(const std::string& path);
  HTREEITEM Selected() const;
  void MakeVisible(HTREEITEM item);
  // The paths of the items directly under an item (the root when item is null), for tests.
  std::vector<std::string> ChildPaths(HTREEITEM item);
  std::string ItemText(HTREEITEM item) const;
  HTREEITEM Root() const { return FRoot; }

 protected:
  TWindowClass GetWindowClass() const override;
  void AfterCreate() override;
  void AfterDpiChange() override;
  LRESULT OnNotify(const NMHDR& header) override;

 private:
  struct TNode {
    std::string Path;  // empty for the computer
    bool Loaded = false;
  };
  HTREEITEM AddItem(HTREEITEM parent, const std::string& path, const std::string& text);
  void LoadChildren(HTREEITEM item);
  TNode* NodeOf(HTREEITEM item) const;
  HTREEITEM FindChild(HTREEITEM parent, const std::string& path);
  void FillDisplayInfo(NMTVDISPINFOA& info);
  void SelectUnderMouse();
  void AddHint();

  HTREEITEM FRoot = nullptr;
  std::vector<std::unique_ptr<TNode>> FNodes;
};
