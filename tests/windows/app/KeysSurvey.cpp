// keys_survey: prints, for each of the wizard's fourteen pages, how many controls Tab reaches
// (typed as a person types) and how many of the visible controls give
// a screen reader no name or only the generic role of a window's client area.
//   keys_survey [page...]     all pages, or only those named
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "app/Appl_Globals.h"
#include "app/Form_Main.h"
#include "pages/PNL_Error.h"
#include "core/Text.h"
#include "tests/driver/Accessibility.h"
#include "tests/driver/Keyboard.h"
#include "tests/windows/PumpUntil.h"
#include "ui/Application.h"

namespace {

const char* const kPages[] = {
    "PnlWelcome",       "PnlDisclaimer",        "PnlInstall",          "PnlInstallChooseDir",
    "PNLInstallChooseDownloadDir", "PNLInstallChooseConnection", "PNLInstallGo",
    "PNLInstallInstalling", "PNLInstallReady",  "PnlUpgradeFindDir",   "PNLUpgradeStart",
    "PNLUpgradeUpgrading",  "PNLUpgradeReady",  "PnlError",
};

// The pages whose AfterShow starts a run or a search: shown without it.
bool IsProgressPage(const std::string& name) {
  return name == "PNLInstallInstalling" || name == "PnlUpgradeFindDir" || name == "PNLUpgradeUpgrading";
}

void Show(TFormMain& form, const std::string& name) {
  if (!IsProgressPage(name)) {
    form.ShowPanel(name, false);
    return;
  }
  for (const auto& sheet : form.PageControl->Sheets()) {
    if (LowerCase(sheet->Name()) != LowerCase(name)) continue;
    form.PageControl->SetActivePage(*sheet);
    form.PnlHeader->SetCaption(static_cast<TFramePanel&>(*sheet->Content()).Title);
    form.PnlButtons->Clear();
  }
}

struct Survey {
  int TabStops = 0;
  bool ReachesBar = false;
  int Controls = 0;
  int Unnamed = 0;
  int GenericRole = 0;
};

// Presses Tab, from the main window itself, until the focus comes back round or stops moving;
// the stops are the controls met.
void CountTabStops(TFormMain& form, Survey& survey) {
  SetFocus(form.Handle());
  std::vector<HWND> met;
  HWND focus = GetFocus();
  for (int press = 0; press < 40; ++press) {
    if (!PressKeys(form.Handle(), "Tab")) {
      std::fprintf(stderr, "keys_survey: the wizard is not in the foreground\n");
      return;
    }
    const HWND before = focus;
    PumpUntil([&] { return (focus = GetFocus()) != before; }, 1500);
    if (focus == before && !met.empty()) break;
    if (!focus || focus == form.Handle()) continue;
    bool again = false;
    for (HWND seen : met) again = again || seen == focus;
    if (again) break;
    met.push_back(focus);
  }
  survey.TabStops = static_cast<int>(met.size());
  if (getenv("KEYS_SURVEY_VERBOSE"))
    for (HWND stop : met) {
      AccessibleFacts facts;
      ReadAccessible(stop, facts);
      std::printf("    stop: %s\n", (RoleText(facts.Role) + " " + facts.Name).c_str());
    }
  for (HWND stop : met) survey.ReachesBar = survey.ReachesBar || IsChild(form.PnlButtons->Handle(), stop);
}

void CountNames(TFormMain& form, Survey& survey) {
  std::vector<HWND> windows;
  EnumChildWindows(
      form.Handle(),
      [](HWND child, LPARAM list) {
        if (IsWindowVisible(child)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  for (HWND window : windows) {
    AccessibleFacts facts;
    ++survey.Controls;
    if (!ReadAccessible(window, facts) || facts.Name.empty()) {
      ++survey.Unnamed;
      if (getenv("KEYS_SURVEY_VERBOSE")) {
        char windowClass[64] = "";
        GetClassNameA(window, windowClass, sizeof windowClass);
        std::printf("    unnamed: %s %s\n", windowClass, RoleText(facts.Role).c_str());
      }
    }
    if (facts.Role == ROLE_SYSTEM_CLIENT) ++survey.GenericRole;
  }
}

}  // namespace

int main(int argc, char** argv) {
  OleInitialize(nullptr);
  ResetSettings();
  FoundInstallations = {"C:\\Pelmora P2P\\Pelmora.exe"};
  TFormMain form;
  form.Create();
  TApplication::Instance().MainWindow = form.Handle();
  form.Show();
  if (ErrorPanel) ErrorPanel->SetErrorText("I/O error 5");
  PumpUntil([&] { return GetForegroundWindow() == form.Handle(); }, 5000);

  std::set<std::string> wanted(argv + 1, argv + argc);
  std::printf("%-28s %9s %5s %8s %7s %8s\n", "page", "Tab stops", "bar", "controls", "unnamed", "generic");
  for (const char* page : kPages) {
    if (!wanted.empty() && !wanted.count(page)) continue;
    Show(form, page);
    SetForegroundWindow(form.Handle());
    TApplication::Instance().ProcessMessagesUntil(GetTickCount64(), 300);
    Survey survey;
    CountNames(form, survey);
    CountTabStops(form, survey);
    std::printf("%-28s %9d %5s %8d %7d %8d\n", page, survey.TabStops, survey.ReachesBar ? "yes" : "no",
                survey.Controls, survey.Unnamed, survey.GenericRole);
    std::fflush(stdout);
  }
  return 0;
}
