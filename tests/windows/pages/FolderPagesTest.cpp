#include <gtest/gtest.h>

#include <filesystem>

#include "pages/PNL_InstallChooseDir.h"
#include "pages/PNL_InstallChooseDownloadDir.h"
#include "tests/windows/app/WizardFixture.h"

namespace {

const char kInvalidFolder[] =
    "Invalid folder.\rThe foldername you choose contains invalid characters or is a root folder.";

// Folders made for one test on the test prefix's drives, removed afterwards.
class ScratchFolders {
 public:
  ~ScratchFolders() {
    for (auto it = FMade.rbegin(); it != FMade.rend(); ++it) {
      SetFileAttributesA(it->c_str(), FILE_ATTRIBUTE_NORMAL);
      std::error_code ignored;
      std::filesystem::remove_all(*it, ignored);
    }
  }
  std::string Make(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    CreateDirectoryA(path.c_str(), nullptr);
    if (attributes != FILE_ATTRIBUTE_NORMAL) SetFileAttributesA(path.c_str(), attributes);
    FMade.push_back(path);
    return path;
  }
  void File(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    FMade.push_back(path);
  }

 private:
  std::vector<std::string> FMade;
};

class FolderPagesTest : public WizardFixture {
 protected:
  void SetUp() override {
    WizardFixture::SetUp();
    TApplication::Instance().MainWindow = Form().Handle();
    FUnique = std::to_string(GetCurrentProcessId());
  }
  void TearDown() override {
    TApplication::Instance().MainWindow = nullptr;
    WizardFixture::TearDown();
  }

  TFolderPage& Page() { return static_cast<TFolderPage&>(*Form().ActivePanel()); }
  TFolderTree& Tree() { return *Page().FolderTree(); }
  std::string EditText() {
    char text[MAX_PATH] = "";
    SendMessageA(EditWindow(), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
  }
  HWND EditWindow() { return FindWindowExA(Page().Handle(), nullptr, "Edit", nullptr); }
  void Type(const std::string& text) {
    SendMessageA(EditWindow(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  void PressEnter() {
    SetFocus(EditWindow());
    PostMessageA(EditWindow(), WM_KEYDOWN, VK_RETURN, 1);
    Pump(100);
  }
  std::string Next() {
    return MessageShownBy([&] { Click("&Next"); });
  }

  std::string FUnique;
};

TEST_F(FolderPagesTest, TreeShowsTheFixedDrivesAndTheirVisibleFoldersOnly) {
  ScratchFolders scratch;
  std::string visible = scratch.Make("C:\\visible-" + FUnique);
  scratch.Make("C:\\hidden-" + FUnique, FILE_ATTRIBUTE_HIDDEN);
  scratch.File("C:\\file-" + FUnique + ".txt");
  Form().ShowPanel("PnlInstallChooseDir", false);

  std::vector<std::string> drives = Tree().ChildPaths(nullptr);
  for (const char* fixed : {"C:\\", "D:\\", "E:\\", "F:\\"})
    EXPECT_NE(std::find(drives.begin(), drives.end(), fixed), drives.end()) << fixed;
  for (const char* other : {"R:\\", "N:\\"})
    EXPECT_EQ(std::find(drives.begin(), drives.end(), other), drives.end()) << other << " is not fixed";

  Tree().SelectPath("C:\\");
  std::vector<std::string> folders = Tree().ChildPaths(Tree().Selected());
  auto has = [&](const std::string& path) {
    return std::any_of(folders.begin(), folders.end(),
                       [&](const std::string& f) { return _stricmp(f.c_str(), path.c_str()) == 0; });
  };
  EXPECT_TRUE(has(visible));
  EXPECT_TRUE(has("C:\\Program Files"));
  EXPECT_FALSE(has("C:\\hidden-" + FUnique));
  EXPECT_FALSE(has("C:\\file-" + FUnique + ".txt"));
  EXPECT_EQ(TreeView_GetIndent(Tree().Handle()), 19u);
}

TEST_F(FolderPagesTest, ProposesProgramFilesAndSelectsTheParentOfTheNewFolder) {
  Form().ShowPanel("PnlInstallChooseDir", false);
  EXPECT_EQ(InstallDir, "C:\\Program Files\\Pelmora P2P");
  EXPECT_EQ(EditText(), "C:\\Program Files\\Pelmora P2P");
  EXPECT_EQ(Tree().SelectedPath(), "C:\\Program Files");
}

TEST_F(FolderPagesTest, SelectingInTheTreeFillsTheBox) {
  Form().ShowPanel("PnlInstallChooseDir", false);
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Program Files", "C:\\Program Files\\Pelmora P2P"},
      {"C:\\", "C:\\Pelmora P2P"},
      {"C:\\Program Files\\Common Files", "C:\\Program Files\\Common Files"},
  };
  for (auto [selected, shown] : cases) {
    Tree().SelectPath(selected);
    EXPECT_EQ(EditText(), shown) << selected;
  }

  Form().ShowPanel("PNLInstallChooseDownloadDir", false);
  Tree().SelectPath("D:\\");
  EXPECT_EQ(EditText(), "D:\\Downloads");
}

TEST_F(FolderPagesTest, RefusesInvalidFoldersWithTheMessageAndStays) {
  Form().ShowPanel("PnlInstallChooseDir", false);
  for (const char* typed : {"C:\\", "C:", "\\\\server\\share", "C:\\Games\\\\Old", "C:\\What?",
                            "C:\\a:b", "C:\\a<b", "Games"}) {
    Type(typed);
    EXPECT_EQ(Next(), kInvalidFolder) << typed;
    EXPECT_EQ(Header(), "Choose installation folder") << typed;
  }
}

// Each folder must leave room for the longest name written into it within the system's 260
// characters: 36 for the installation folder (the removal list's temporary name), 1 for the
// download folder.
TEST_F(FolderPagesTest, RefusesAFolderTooLongForWhatGoesIntoIt) {
  struct Case {
    const char* page;
    std::size_t length;  // typed, without a final "\"
    bool accepted;
  };
  for (const Case c : {Case{"PnlInstallChooseDir", 222, true}, Case{"PnlInstallChooseDir", 223, false},
                       Case{"PNLInstallChooseDownloadDir", 257, true}, Case{"PNLInstallChooseDownloadDir", 258, false}}) {
    Form().ShowPanel(c.page, false);
    const std::string header = Header();
    const std::string typed = "C:\\" + std::string(c.length - 3, 'a');
    Type(typed);
    const std::string shown = Next();
    if (c.accepted) {
      EXPECT_EQ(shown, "") << c.page << " " << c.length;
      EXPECT_NE(Header(), header) << c.page << " " << c.length;
    } else {
      EXPECT_EQ(shown, "Invalid folder.\rThe foldername you choose is too long; it can have at most " +
                           std::to_string(c.length - 1) + " characters.")
          << c.page << " " << c.length;
      EXPECT_EQ(Header(), header) << c.page << " " << c.length;
    }
  }
}

TEST_F(FolderPagesTest, TrimsTheTypedFolderAndMovesOn) {
  Form().ShowPanel("PnlInstallChooseDir", false);
  Type("   C:\\Games\\Pelmora  ");
  EXPECT_EQ(Next(), "");
  EXPECT_EQ(InstallDir, "C:\\Games\\Pelmora\\");
  EXPECT_EQ(ClientDataDir, "C:\\Games\\Pelmora\\");
  EXPECT_EQ(Header(), "Choose download folder");
  EXPECT_EQ(EditText(), "C:\\Downloads");
}

TEST_F(FolderPagesTest, RefusesAFolderWithAnInstalledClientWhateverTheCase) {
  ScratchFolders scratch;
  std::string folder = scratch.Make("C:\\installed-" + FUnique);
  scratch.File(folder + "\\PELMORA.EXE");
  Form().ShowPanel("PnlInstallChooseDir", false);
  Type(folder);
  EXPECT_EQ(Next(), "Cannot install Pelmora P2P in " + folder +
                        "\\\rbecause it already exists in this folder.\r"
                        "In case you want to overwrite a previous installation delete or unistall it first,\r"
                        "otherwise choose another folder.");
  EXPECT_EQ(Header(), "Choose installation folder");
}

TEST_F(FolderPagesTest, EnterOnAMissingFolderSelectsItsParentAndKeepsTheText) {
  Form().ShowPanel("PnlInstallChooseDir", false);
  Tree().SelectPath("C:\\");
  std::string typed = "C:\\Program Files\\NotThere-" + FUnique;
  Type(typed);
  PressEnter();
  EXPECT_EQ(Tree().SelectedPath(), "C:\\Program Files");
  EXPECT_EQ(EditText(), typed);

  Type("Q:\\Nowhere\\At All");
  PressEnter();
  EXPECT_EQ(Tree().SelectedPath(), "C:\\Program Files") << "a folder the tree lacks changes nothing";
}

TEST_F(FolderPagesTest, HiddenCodeShowsTheReleaseCode) {
  ReleaseCode = "01";
  Form().ShowPanel("PnlInstallChooseDir", false);
  SetFocus(EditWindow());
  Type(" #~~+71-42KKw ");
  SetFocus(Tree().Handle());
  Pump(50);
  EXPECT_EQ(EditText(), "01");
}

TEST_F(FolderPagesTest, DownloadProposalPrefersAnExistingDownloadsFolderOnAFixedDisk) {
  ScratchFolders scratch;
  scratch.Make("D:\\Downloads");
  scratch.Make("E:\\Downloads");
  scratch.Make("R:\\Downloads");
  InstallDir = "C:\\Program Files\\Pelmora P2P\\";
  Form().ShowPanel("PNLInstallChooseDownloadDir", false);
  EXPECT_EQ(DownloadDir, "D:\\Downloads");
  EXPECT_EQ(Tree().SelectedPath(), "D:\\Downloads");
}

TEST_F(FolderPagesTest, DownloadProposalFallsBackToTheInstallationDrive) {
  InstallDir = "F:\\Apps\\Pelmora P2P\\";
  Form().ShowPanel("PNLInstallChooseDownloadDir", false);
  EXPECT_EQ(DownloadDir, "F:\\Downloads");
  EXPECT_EQ(EditText(), "F:\\Downloads");
}

TEST_F(FolderPagesTest, GoingBackProposesTheDownloadFolderAfresh) {
  InstallDir = "F:\\Apps\\Pelmora P2P\\";
  Form().ShowPanel("PNLInstallChooseDownloadDir", false);
  Type("F:\\Elsewhere");
  EXPECT_EQ(Next(), "");
  EXPECT_EQ(DownloadDir, "F:\\Elsewhere\\");
  Form().ShowPanel("PNLInstallChooseDownloadDir", false);
  EXPECT_EQ(EditText(), "F:\\Elsewhere\\") << "coming back from the next page keeps it";

  Click("&Previous");
  EXPECT_EQ(DownloadDir, "");
  EXPECT_EQ(Header(), "Choose installation folder");
  EXPECT_EQ(InstallDir, "F:\\Apps\\Pelmora P2P\\");
  Click("&Previous");
  EXPECT_EQ(InstallDir, "");
}

}  // namespace
