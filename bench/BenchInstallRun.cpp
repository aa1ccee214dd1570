// Times the installation run under Wine: the whole run as the installing page does it (without
// the slide to the finish page), and its parts one by one: payloads, data files, shortcuts and
// the uninstall entry.
//   bench_install_run <installation folder> [runs]
#include <objbase.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/Appl_Globals.h"
#include "app/Form_Main.h"
#include "bench/Timing.h"
#include "engine/GB_PelmoraP2P_exe.h"
#include "engine/GB_Uninstall_exe.h"
#include "engine/InstallationRun.h"
#include "engine/Shortcuts.h"
#include "pages/PNL_InstallInstalling.h"
#include "ui/Application.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: bench_install_run <installation folder> [runs]\n", stderr);
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "\\";
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  CoInitialize(nullptr);
  TFormMain form;
  form.Create();
  TApplication::Instance().MainWindow = form.Handle();
  form.Show();
  auto* page = static_cast<TPNLInstallInstalling*>(
      form.PageControl->Sheets()[7]->Content());  // "PNLInstallInstalling"

  for (int run = 0; run < runs; ++run) {
    InstallDir = folder;
    DownloadDir = "C:\\Downloads\\";
    ReleaseCode = "01";
    // All five shortcuts, as the peer of bench/run-peer-bench makes them.
    CreateDesktopShortcut = true;
    form.ShowPanel("PNLInstallGo", false);
    // The whole run ends by sliding the finish page in; that slide is timed on its own and
    // taken off.
    double whole = Timed([&] { form.ShowPanel("PNLInstallInstalling", false); });
    double slide = Timed([&] { form.ShowPanel("PNLInstallReady", true); });

    double payloads = Timed([&] {
      GB_PelmoraP2P_exe::ExtractPayload(folder + "Pelmora.Exe");
      GB_Uninstall_exe::ExtractPayload(folder + "Uninstall.Exe");
    });
    const TInstallationSettings settings{InstallDir,    AppDataDir,  ClientDataDir, CreateDesktopShortcut,
                                         DownloadDir,   ReleaseCode, ConnectionKind};
    double dataFiles = Timed([&] {
      WriteInstallationDataFile(AppDataDir + "Pelmora.Dat", settings, *page);
      WriteInstallationDataFile(folder + "PMInst.Dat", settings, *page);
    });
    double links = Timed([&] {
      CreateStartMenuShortcuts(folder, TShortcutRun::Installation);
      CreateDesktopLink(folder);
    });
    double registry = Timed([&] { RegisterUninstall(folder); });
    std::printf("run %d: the run %.0f ms (%.0f ms with the slide to the finish page); parts alone: "
                "payloads %.0f ms (without a bar), data files %.0f ms, links %.0f ms, registry %.1f ms\n",
                run + 1, whole - slide, whole, payloads, dataFiles, links, registry);
  }
  TApplication::Instance().MainWindow = nullptr;
  return 0;
}
