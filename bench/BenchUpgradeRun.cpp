// Times the upgrade run under Wine as the upgrading page does it, over an installation that the
// installation run made first: no client runs, so no attempt fails and nothing waits. The slide
// to the finish page is timed on its own and taken off; the parts are timed alone as well.
//   bench_upgrade_run <installation folder> [runs]
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
#include "engine/Shortcuts.h"
#include "ui/Application.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: bench_upgrade_run <installation folder> [runs]\n", stderr);
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "\\";
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  CoInitialize(nullptr);
  TFormMain form;
  form.Create();
  TApplication::Instance().MainWindow = form.Handle();

  InstallDir = folder;
  DownloadDir = "C:\\Downloads\\";
  ReleaseCode = "01";
  form.ShowPanel("PNLInstallInstalling", false);

  for (int run = 0; run < runs; ++run) {
    InstallDir = folder;
    form.ShowPanel("PNLUpgradeStart", false);
    double whole = Timed([&] { form.ShowPanel("PNLUpgradeUpgrading", false); });
    double slide = Timed([&] { form.ShowPanel("PNLUpgradeReady", true); });
    double client = Timed([&] { GB_PelmoraP2P_exe::ExtractPayload(folder + "Pelmora.Exe"); });
    double uninstaller = Timed([&] { GB_Uninstall_exe::ExtractPayload(folder + "Uninstall.Exe"); });
    double links = Timed([&] { CreateStartMenuShortcuts(folder, TShortcutRun::Upgrade); });
    std::printf("run %d: the upgrade run %.0f ms (%.0f ms with the slide to the finish page); parts "
                "alone: client %.0f ms (without a bar), uninstaller %.0f ms, menu links %.0f ms\n",
                run + 1, whole - slide, whole, client, uninstaller, links);
  }
  TApplication::Instance().MainWindow = nullptr;
  return 0;
}
