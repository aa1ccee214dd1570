// What a screen reader finds on every page: each visible control read through the system's
// accessibility interface (AccessibleObjectFromWindow), with its name and role.
#include <oleacc.h>

#include <ostream>

#include "pages/PNL_Error.h"
#include "tests/driver/Accessibility.h"
#include "tests/windows/pages/PageFixture.h"

namespace {

struct Spoken {
  long Role;
  std::string Name;
  bool operator==(const Spoken&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Spoken& spoken) {
  return out << RoleText(spoken.Role) << " \"" << spoken.Name << "\"";
}

Spoken Text(const std::string& name) { return {ROLE_SYSTEM_STATICTEXT, name}; }
Spoken Picture(const std::string& name) { return {ROLE_SYSTEM_GRAPHIC, name}; }
Spoken Button(const std::string& name) { return {ROLE_SYSTEM_PUSHBUTTON, name}; }
Spoken Radio(const std::string& name) { return {ROLE_SYSTEM_RADIOBUTTON, name}; }
Spoken Group(const std::string& name) { return {ROLE_SYSTEM_GROUPING, name}; }
Spoken Progress(const std::string& name) { return {ROLE_SYSTEM_PROGRESSBAR, name}; }
Spoken Link() { return {ROLE_SYSTEM_LINK, "support@pelmora.example.com"}; }

const char kInstallFolderText[] =
    "The installation folder is the folder\ron your hard disk where Pelmora P2P program files\r"
    "and the Pelmora P2P data file will be placed.\r\rIn most common cases the folder proposed\r"
    "is the best place and you can just press\rthe \"next\" button, otherwise choose a folder.";
const char kDownloadFolderText[] =
    "The download folder is the folder\ron your hard disk where Pelmora P2P puts the\r"
    "downloaded files when they are completed.\r\rIn most common cases the folder proposed\r"
    "is the best place and you can just press\rthe \"next\" button, otherwise choose a folder.";
const char kConnectionText[] =
    "Choose the kind of internet-connection that\ryou use. Pelmora P2P uses this information to \r"
    "optimize its performance dependend on the\rkind of connection you have. After installation\r"
    "you can always select to the item \"Settings\"\rof Pelmora P2P to finetune this settings further.";

// Every page, and what a reader finds on it between the page itself and the button bar, in the
// order of the windows; then the bar's buttons from left to right.
const struct {
  const char* Page;
  const char* Title;
  std::vector<Spoken> Controls;
  std::vector<std::string> Buttons;
} kPages[] = {
    {"PnlWelcome", "Welcome",
     {Text("Fast"), Text("Encryption"), Text("Secure"), Text("Easy"), Text("P2P"), Text("Share"), Text("Search"),
      Text("Download"), Picture("Computers linked in a network"), Text("Thanks for installing Pelmora P2P"),
      Text("Pelmora P2P is a modern p2p file sharing tool allowing you to share, search and download files "
           "over an encrypted network."),
      Text("With this installation you install Pelmora P2P and nothing else. We are not putting any crap on "
           "your PC, change no settings, put no DLL's, show no banners and install no spyware."),
      Text("We wish you a lot of pleasure "), Text("with Pelmora P2P. "), Text("The Pelmora team.")},
     {"Exit", "Next"}},
    {"PnlDisclaimer", "License agreement and disclaimer",
     {Picture("A seal"), Text("Pelmora P2P License agreement"), {ROLE_SYSTEM_TEXT, "License agreement"},
      {ROLE_SYSTEM_CHECKBUTTON, "I have read the statement above and I fully agree with this statement."}},
     {"Exit", "Previous", "Next"}},
    {"PnlInstall", "Install or upgrade?",
     {Text("What do you want to do?"), Radio("Install Pelmora P2P on this computer"),
      Radio("Upgrade an existing installation"), Text("Shortcut"),
      {ROLE_SYSTEM_CHECKBUTTON, "Create a shortcut on the desktop"}, Text("Directory"),
      Text("In the next step you'll be asked to choose the installation directory. "), Group("Support"),
      Picture("Computers linked in a network"),
      Text("We did a lot to make sure installation of Pelmora P2P will work smoothly."),
      Text("In case you might experience problems please let us know"),
      Text("so we can help you out. You can reach us at :"), Link()},
     {"Exit", "Previous", "Next"}},
    {"PnlInstallChooseDir", "Choose installation folder",
     {Picture("A network of folders"), {ROLE_SYSTEM_TEXT, "Installation folder"}, Text(kInstallFolderText),
      {ROLE_SYSTEM_OUTLINE, "Choose installation folder"}},
     {"Exit", "Previous", "Next"}},
    {"PNLInstallChooseDownloadDir", "Choose download folder",
     {Picture("A network of folders"), Text(kDownloadFolderText), {ROLE_SYSTEM_TEXT, "Download folder"},
      {ROLE_SYSTEM_OUTLINE, "Choose download folder"}},
     {"Exit", "Previous", "Next"}},
    {"PNLInstallChooseConnection", "Select your internet-connection",
     {Picture("A network of computers"), Text(kConnectionText), Group("Internet-connection"),
      Radio("Dial-up Modem < 56KBS"), Radio("Dial-up Modem 56K"), Radio("ISDN"), Radio("ADSL / DSL"),
      Radio("Cable"), Radio("T1"), Radio("T2"), Radio("ADSL 2"), Radio("I don't know")},
     {"Exit", "Previous", "Next"}},
    {"PNLInstallGo", "Ready to install",
     {Picture("Computers linked in a network"), Text("All questions are answered."),
      Text("Click the button \"Install Now\" and the installation will begin."),
      Text("Installation folder = C:\\Apps\\Pelmora P2P\\"), Text("Download folder = C:\\Downloads\\"),
      Text("Create shortcut on desktop = Yes")},
     {"Exit", "Previous", "Install Now"}},
    {"PNLInstallInstalling", "Installing Pelmora P2P",
     {Text("0% complete"), Progress("Installation progress")},
     {}},
    {"PNLInstallReady", "Installation of Pelmora P2P ready",
     {Text("The installation of Pelmora P2P is completed successfully."), Group("Installation completed"),
      Picture("A green badge"), Text("Enjoy your Pelmora P2P!")},
     {"Exit", "Start Pelmora P2P"}},
    {"PnlUpgradeFindDir", "Searching Pelmora P2P",
     {Picture("A search through a network"), Text("0% complete"), Progress("Search progress"),
      Text("Explanation")},
     {}},
    {"PNLUpgradeStart", "Ready to upgrade",
     {Text("Upgrade Pelmora P2P installed in:"), {ROLE_SYSTEM_COMBOBOX, "Installation to upgrade"}},
     {"Exit", "Previous", "Upgrade"}},
    {"PNLUpgradeUpgrading", "Upgrading Pelmora P2P",
     {Text("0% complete"), Text("."), Progress("Upgrade progress")},
     {}},
    {"PNLUpgradeReady", "Upgrade of Pelmora P2P ready",
     {Text("The upgrade of Pelmora is completed succesfully."), Group("Upgrade completed"),
      Text("Enjoy your Pelmora!"), Picture("Computers linked in a network")},
     {"Exit", "Start Pelmora P2P"}},
    {"PnlError", "Error",
     {Group("Error message"), Text("Install could not continue - An error occured"), Text("I/O error 5"),
      Button("Copy to clipboard"), Text("How to resolve"),
      Text("This error was unexpected, the installation program has no knowledge how to automatically "
           "resolve or by pass this problem. "),
      Text("Possible remedies can be to install the program in a different folder or to run the installer "
           "with all usage rights (as administrator)."),
      Text("You can hit the restart button to give it another shot. "), Text("Let us know"),
      Text("We aim on creating software that just does what it should do, apperently something went wrong "
           "in this. We would love to know that so we can fix it."),
      Text("Could you include the exact text of the error message in your E-mail? For copy/paste use the "
           "copy to clipboard button."),
      Text("You can reach us at: "), Link(), Picture("A red badge")},
     {"Exit", "Restart"}},
};

class AccessibilityTest : public PageFixture {
 protected:
  void SetUp() override {
    PageFixture::SetUp();
    InstallDir = "C:\\Apps\\Pelmora P2P\\";
    DownloadDir = "C:\\Downloads\\";
    CreateDesktopShortcut = true;
    FoundInstallations = {"C:\\Apps\\Pelmora P2P\\Pelmora.exe"};
    ErrorPanel->SetErrorText("I/O error 5");
  }

  // The pages whose AfterShow starts a run or a search are shown without it: what a reader
  // finds there is the page's own.
  void ShowForReading(const std::string& name) {
    if (name != "PNLInstallInstalling" && name != "PnlUpgradeFindDir" && name != "PNLUpgradeUpgrading") {
      ShowPage(name);
      return;
    }
    for (const auto& sheet : Form().PageControl->Sheets()) {
      if (LowerCase(sheet->Name()) != LowerCase(name)) continue;
      Form().PageControl->SetActivePage(*sheet);
      Form().PnlHeader->SetCaption(Page(name).Title);
      Form().PnlButtons->Clear();
    }
  }

  // Every visible window of the wizard as a reader finds it, in the order of the windows.
  std::vector<Spoken> Read() const {
    std::vector<HWND> windows;
    EnumChildWindows(
        FForm->Handle(),
        [](HWND child, LPARAM list) {
          if (IsWindowVisible(child)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    std::vector<Spoken> read;
    for (HWND window : windows) {
      AccessibleFacts facts;
      if (!ReadAccessible(window, facts)) facts.Name = "<no accessible object>";
      read.push_back({facts.Role, facts.Name});
    }
    return read;
  }

  static AccessibleFacts FactsOf(const TControl& control) {
    AccessibleFacts facts;
    EXPECT_TRUE(ReadAccessible(control.Handle(), facts)) << control.Name();
    return facts;
  }
};

TEST_F(AccessibilityTest, EveryVisibleControlOfEveryPageHasItsNameAndRole) {
  for (const auto& page : kPages) {
    ShowForReading(page.Page);
    std::vector<Spoken> expected{Picture("Pelmora P2P icon"), Text(page.Title), {ROLE_SYSTEM_PANE, page.Title},
                                 {ROLE_SYSTEM_PANE, page.Title}, {ROLE_SYSTEM_PROPERTYPAGE, page.Title}};
    expected.insert(expected.end(), page.Controls.begin(), page.Controls.end());
    expected.push_back(Group("Buttons"));
    for (const std::string& button : page.Buttons) expected.push_back(Button(button));
    EXPECT_EQ(Read(), expected) << page.Page;
  }
}

TEST_F(AccessibilityTest, ValuesStatesAndKeysFollowTheControls) {
  ShowPage("PnlDisclaimer");
  auto& agree = Get<TCheckBox>("PnlDisclaimer", "CheckBox1");
  EXPECT_EQ(FactsOf(agree).State & STATE_SYSTEM_CHECKED, 0);
  EXPECT_EQ(FactsOf(agree).KeyboardShortcut, "Alt+I");
  agree.SetChecked(true);
  EXPECT_NE(FactsOf(agree).State & STATE_SYSTEM_CHECKED, 0);
  EXPECT_NE(FactsOf(Get<TMemo>("PnlDisclaimer", "MemoDisclaimer")).State & STATE_SYSTEM_READONLY, 0);

  const AccessibleFacts next = FactsOf(ButtonCaptioned("&Next"));
  EXPECT_EQ(next.KeyboardShortcut, "Alt+N");
  EXPECT_EQ(next.DefaultAction, "Press");
  EXPECT_NE(next.State & STATE_SYSTEM_DEFAULT, 0) << "Enter presses it";
  EXPECT_EQ(FactsOf(ButtonCaptioned("&Previous")).State & STATE_SYSTEM_DEFAULT, 0);

  ShowPage("PnlInstallChooseDir");
  auto& folder = Get<TEdit>("PnlInstallChooseDir", "Edit1");
  folder.SetCaption("C:\\Somewhere\\Else");
  EXPECT_EQ(FactsOf(folder).Value, "C:\\Somewhere\\Else");

  ShowPage("PNLUpgradeStart");
  EXPECT_EQ(FactsOf(Get<TComboBox>("PNLUpgradeStart", "ComboBoxUpgrade")).Value, "C:\\Apps\\Pelmora P2P\\");

  ShowForReading("PNLInstallInstalling");
  auto& bar = Get<TProgressBar>("PNLInstallInstalling", "ProgressBar1");
  bar.SetMax(200);
  bar.SetPosition(81);
  EXPECT_EQ(FactsOf(bar).Value, "40%") << "40.5 to the even 40, as the page's label rounds it";
  bar.SetPosition(200);
  EXPECT_EQ(FactsOf(bar).Value, "100%");
}

TEST_F(AccessibilityTest, AReaderPressesAButtonThroughItsDefaultAction) {
  ShowPage("PnlWelcome");
  IAccessible* next = nullptr;
  ASSERT_TRUE(SUCCEEDED(AccessibleObjectFromWindow(ButtonCaptioned("&Next").Handle(), static_cast<DWORD>(OBJID_CLIENT),
                                                   __uuidof(IAccessible), reinterpret_cast<void**>(&next))));
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  EXPECT_EQ(next->accDoDefaultAction(self), S_OK);
  next->Release();
  EXPECT_TRUE(PumpUntil([&] { return Header() == "License agreement and disclaimer" && !Form().Sliding; }))
      << Header();
}

}  // namespace
