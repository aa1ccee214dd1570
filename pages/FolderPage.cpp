#include "pages/FolderPage.h"

#include <windows.h>

#include <map>

#include "core/Exceptions.h"
#include "core/FolderName.h"
#include "app/Form_Main.h"
#include "core/Text.h"
#include "ui/Dialogs.h"

namespace {

const char kInvalidFolderMessage[] =
    "Invalid folder.\rThe foldername you choose contains invalid characters or is a root folder.";

// Detaches the page's change handler from the tree for as long as it lives.
class TChangeEventDetached {
 public:
  TChangeEventDetached(TFolderTree& tree) : FTree(tree), FHandler(std::move(tree.OnChange)) {
    FTree.OnChange = nullptr;
  }
  ~TChangeEventDetached() { FTree.OnChange = std::move(FHandler); }

 private:
  TFolderTree& FTree;
  std::function<void(TFolderTree&)> FHandler;
};

}  // namespace

std::function<bool(const std::string& path, bool isFolder)> FixedDiskFilter() {
  return [fixedByDrive = std::map<std::string, bool>()](const std::string& path,
                                                        bool isFolder) mutable {
    if (!isFolder) return false;
    std::string root = LowerCase(path.substr(0, 3));
    auto known = fixedByDrive.find(root);
    if (known == fixedByDrive.end()) known = fixedByDrive.emplace(root, IsOnFixedDisk(root)).first;
    return known->second;
  };
}

const TPageButton TFolderPage::kButtons[] = {
    kExitButton,
    {.Caption = "&Next", .ButtonID = 2, .Handler = Handler(&TFolderPage::btnNextClick)},
    {.Caption = "&Previous", .ButtonID = 3, .Handler = Handler(&TFolderPage::btnPreviousClick)},
};

TFolderPage::TFolderPage(TPageId page, std::span<const TControlSpec> design)
    : TFramePanel(page, design, kButtons) {}

void TFolderPage::Loaded() {
  Bind(Edit1, "Edit1");
  Bind(StaticText1, "StaticText1");
  Edit1->OnKeyPress = [this](TEdit&, char& key) { Edit1KeyPress(key); };
  Edit1->OnExit = [this](TEdit&) { Edit1Exit(); };
}

void TFolderPage::BeforeShow() {
  StaticText1->SetCaption(ExplanationText());
  if (!FTree) CreateFolderTree();
  if (Setting().empty()) Setting() = Proposal();
  Edit1->SetCaption(Setting());
  SelectFolderInTree(Setting());
}

void TFolderPage::CreateFolderTree() {
  TControlSpec spec{.Name = "FolderTree", .Left = 288, .Top = 40, .Width = 393, .Height = 289,
                   .Caption = Title.c_str()};
  FTree = std::make_unique<TFolderTree>(spec);
  FTree->OnAddFolder = FixedDiskFilter();
  FTree->CreateHandle(this);
  FTree->OnChange = [this](TFolderTree&) { FolderTreeChange(); };
}

void TFolderPage::SelectFolderInTree(const std::string& path) {
  TChangeEventDetached detached(*FTree);
  try {
    FTree->SelectPath(FolderExists(path) ? path : ParentFolder(path));
    if (HTREEITEM selected = FTree->Selected()) FTree->MakeVisible(selected);
  } catch (const Exception&) {
    // A folder the tree cannot show keeps the selection as it was.
  }
}

void TFolderPage::FolderTreeChange() { Edit1->SetCaption(TextForSelection(FTree->SelectedPath())); }

void TFolderPage::Edit1KeyPress(char& key) {
  if (key == '\r') SelectFolderInTree(Edit1->Caption());
}

void TFolderPage::Edit1Exit() { SelectFolderInTree(Edit1->Caption()); }

std::string TFolderPage::TrimmedEntry() const {
  std::string text = Trim(Edit1->Caption());
  Edit1->SetCaption(text);
  return text;
}

bool TFolderPage::CheckFolderName(const std::string& text, std::size_t maxLength) const {
  if (!IsValidFolderName(text) || text.size() < 4) {
    ShowMessage(kInvalidFolderMessage);
    return false;
  }
  if (AcceptedFolder(text, maxLength)) return true;
  ShowMessage("Invalid folder.\rThe foldername you choose is too long; it can have at most " +
              std::to_string(maxLength - 1) + " characters.");
  return false;
}
