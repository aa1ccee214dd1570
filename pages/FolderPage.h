#pragma once
// What the installation folder page and the download folder page share: an explanation, an
// edit box with the folder, and a tree of the folders on the fixed disks kept in step with it.

#include <functional>
#include <memory>
#include <span>
#include <string>

#include "app/Frame_Panel.h"
#include "ui/FolderTree.h"
#include "engine/Files.h"

class TFolderPage : public TFramePanel {
 public:
  void BeforeShow() override;

  // Selects the folder, or the parent of a folder that does not exist, without raising the
  // change event; a folder the tree cannot show leaves the selection as it was.
  void SelectFolderInTree(const std::string& path);
  TFolderTree* FolderTree() const { return FTree.get(); }

 protected:
  TFolderPage(TPageId page, std::span<const TControlSpec> design);

  // The setting the page proposes and stores.
  virtual std::string& Setting() const = 0;
  virtual std::string ExplanationText() const = 0;
  virtual std::string Proposal() const = 0;
  // The edit box's text for a folder picked in the tree.
  virtual std::string TextForSelection(const std::string& selected) const = 0;
  virtual void btnNextClick() = 0;
  virtual void btnPreviousClick() = 0;
  virtual void Edit1Exit();

  void Loaded() override;
  // Trims the entry and puts it back into the edit box.
  std::string TrimmedEntry() const;
  // False, with the invalid-folder message shown, for a name the pages refuse (a drive root
  // among them) or one longer than maxLength with its final "\".
  bool CheckFolderName(const std::string& text, std::size_t maxLength) const;

  TEdit* Edit1 = nullptr;

 private:
  static const TPageButton kButtons[];

  void CreateFolderTree();
  void FolderTreeChange();
  void Edit1KeyPress(char& key);

  TStaticText* StaticText1 = nullptr;
  std::unique_ptr<TFolderTree> FTree;
};

// The tree's add-folder filter of both pages: folders on fixed disks (IsOnFixedDisk). It asks the system once
// per drive, not once per folder, which would make a folder of thousands slow to open.
std::function<bool(const std::string& path, bool isFolder)> FixedDiskFilter();
