#include "engine/InstallationPlan.h"

#include <memory>

#include "core/FolderName.h"
#include "core/RemovalList.h"
#include "core/Text.h"
#include "engine/RunStepParts.h"

namespace {

// The chosen folder first, then the fallbacks in turn; a fallback's folders that could not be
// completed are undone before the next is tried. Only the last one's failure ends the run,
// before anything is written.
std::string SettleInstallDir(const TInstallationSettings& settings, TRunActions& actions, TRunContext& context) {
  std::string& installDir = settings.InstallDir;
  installDir = WithBackslash(installDir);
  const std::string programFiles = actions.ShellFolder(TShellPlace::ProgramFiles);
  const std::string localAppData = actions.ShellFolder(TShellPlace::LocalAppData);
  const std::string candidates[] = {
      installDir,
      programFiles.empty() ? "" : programFiles + "\\PelmoraP2P\\",
      localAppData.empty() ? "" : localAppData + "\\Pelmora P2P\\",
  };
  for (const std::string& candidate : candidates) {
    if (candidate.empty()) continue;
    const std::size_t mark = context.Mark();
    // The record names the folder before any of it is made, so that the next start may undo it.
    context.SetInstallDir(candidate);
    if (!actions.FolderExists(candidate)) {
      context.WillMakeFolder(candidate);
      try {
        actions.MakeFolder(candidate);
      } catch (const EInOutError&) {
      }
    }
    if (actions.FolderExists(candidate)) {
      installDir = candidate;
      return installDir;
    }
    context.UndoSince(mark);
  }
  installDir = "C:\\Pelmora\\";
  context.SetInstallDir(installDir);
  context.WillMakeFolder(installDir);
  actions.MakeFolder(installDir);
  return installDir;
}

std::string SettleAppDataDir(const TInstallationSettings& settings, TRunActions& actions, TRunContext& context) {
  const std::string localAppData = actions.ShellFolder(TShellPlace::LocalAppData);
  settings.AppDataDir = localAppData.empty() ? settings.InstallDir : localAppData + "\\Pelmora P2P\\";
  const std::size_t mark = context.Mark();
  context.WillMakeFolder(settings.AppDataDir);
  try {
    actions.MakeFolder(settings.AppDataDir);
  } catch (const EInOutError&) {
    settings.AppDataDir = settings.InstallDir;
  }
  if (!actions.FolderExists(settings.AppDataDir)) settings.AppDataDir = settings.InstallDir;
  if (settings.AppDataDir == settings.InstallDir) context.UndoSince(mark);
  settings.ClientDataDir = settings.AppDataDir;
  return settings.AppDataDir;
}

// The start-menu folder and its four shortcuts, 92 %, then the desktop shortcut. A shortcut that
// cannot be saved is passed over; a shell link object that cannot be made leaves out the rest.
std::string CreateShortcuts(const TInstallationSettings& settings, TRunActions& actions, TRunContext& context) {
  std::string notSaved = CreateStartMenuLinks(settings.InstallDir, TShortcutRun::Installation, actions, context);
  context.Progress.SetProgressPercent(92);
  std::string made = "start menu";
  if (settings.CreateDesktopShortcut) {
    const std::string desktop = actions.ShellFolder(TShellPlace::Desktop);
    if (!desktop.empty()) notSaved += CreateLinkOrPassOver(DesktopLink(settings.InstallDir, desktop), actions, context);
    made += " and desktop";
  }
  return made + NotSavedDetail(notSaved);
}

}  // namespace

void WriteInstallationDataFile(const std::string& path, const TInstallationSettings& settings,
                               TRunActions& actions, TRunProgress& progress) {
  const TDataFileSettings header{settings.ClientDataDir, settings.DownloadDir, settings.ReleaseCode,
                                 settings.ConnectionKind};
  // The client wants the download folder without its trailing backslash; the setting itself
  // changes, so a second file written later has it without the backslash in the header too.
  settings.DownloadDir = ClientDownloadDir(settings.DownloadDir);
  actions.WriteDataFile(path, header, [&progress](int percent) {
    progress.SetProgressPercent(percent);
    if (percent == 94) progress.ProcessMessages();
  });
}

TRunPlan InstallationPlan(const TInstallationSettings& settings, TRunActions& actions, long long payloadTotal) {
  // The steps share one copy of the settings, which refer to the caller's values.
  const auto shared = std::make_shared<const TInstallationSettings>(settings);
  const TInstallationSettings& s = *shared;
  TRunActions& a = actions;
  TRunPlan plan;
  plan.Kind = "installation";
  plan.BarMaximum = payloadTotal + payloadTotal / 10;
  plan.Steps = {
      {.Name = "Installation folder",
       .Work = [shared, &s, &a](TRunContext& context) { return SettleInstallDir(s, a, context); },
       .Listed = [shared, &s] { return listed::InstallFolder(s.InstallDir); }},
      {.Name = "Data folder",
       .Work = [shared, &s, &a](TRunContext& context) { return SettleAppDataDir(s, a, context); },
       .Listed = [shared, &s] { return listed::DataFolder(s.ClientDataDir, s.InstallDir, s.AppDataDir); }},
      // An earlier client in the folder is replaced; one that runs holds its program and ends the run.
      {.Name = "Client program",
       .Work =
           [shared, &s, &a](TRunContext& context) {
             const std::string path = s.InstallDir + "Pelmora.Exe";
             a.CheckReplaceable(path);
             context.WillWrite(path);
             a.ExtractClient(path, context.Progress.PayloadProgress());
             return path;
           },
       .Listed = [shared, &s] { return listed::ClientProgram(s.InstallDir); }},
      // Without its uninstaller the installation could never be removed.
      {.Name = "Uninstaller",
       .Work =
           [shared, &s, &a](TRunContext& context) {
             const std::string path = s.InstallDir + "Uninstall.Exe";
             context.WillWrite(path);
             a.ExtractUninstaller(path);
             return path;
           },
       .Listed = [shared, &s] { return listed::Uninstaller(s.InstallDir); }},
      // An earlier client's data files beside the program would be read in place of the new one.
      {.Name = "Old data files",
       .Journalled = false,
       .OnFailure = TOnFailure::GoOn,
       .End = TBarMark::AtPercent(90),
       .Work =
           [shared, &s](TRunContext& context) {
             context.WillRemove(s.InstallDir + "pelmora.dat");
             context.WillRemove(s.InstallDir + "pelmora.bak");
             return std::string();
           }},
      // The installation works without its entry in the system's list of programs: the start
      // menu has its uninstaller too.
      {.Name = "Uninstall entry",
       .OnFailure = TOnFailure::GoOn,
       .Work =
           [shared, &s, &a](TRunContext& context) {
             context.WillSetValues(kUninstallKey, {"DisplayName", "UninstallString"});
             a.RegisterUninstall(s.InstallDir);
             return std::string(kUninstallKey);
           },
       .Listed = [] { return listed::UninstallEntry(); }},
      // The installation works without its shortcuts.
      {.Name = "Shortcuts",
       .OnFailure = TOnFailure::GoOn,
       .End = TBarMark::AtPercent(93),
       .Work = [shared, &s, &a](TRunContext& context) { return CreateShortcuts(s, a, context); },
       .Listed = [shared, &s] { return listed::Shortcuts(s.CreateDesktopShortcut); }},
      {.Name = "Data file",
       .Work =
           [shared, &s, &a](TRunContext& context) {
             const std::string path = s.AppDataDir + "Pelmora.Dat";
             context.WillWrite(path);
             WriteInstallationDataFile(path, s, a, context.Progress);
             return path;
           },
       .Listed = [shared, &s] { return listed::DataFile(s.AppDataDir); }},
      // The copy beside the program is a convenience; the client reads the per-user file.
      {.Name = "Data file copy",
       .OnFailure = TOnFailure::GoOn,
       .Work =
           [shared, &s, &a](TRunContext& context) {
             const std::string path = s.InstallDir + "PMInst.Dat";
             context.WillWrite(path);
             WriteInstallationDataFile(path, s, a, context.Progress);
             return path;
           },
       .Listed = [shared, &s] { return listed::DataFileCopy(s.InstallDir); }},
      // Without the list the uninstaller would remove nothing.
      {.Name = "Removal list",
       .Work =
           [shared, &s, &a](TRunContext& context) {
             const std::string path = s.InstallDir + "UnInstall.dat";
             context.WillWrite(path);
             a.WriteWholeFile(path, RemovalListText(RemovalListLines(context.Plan().ListedItems())));
             return path;
           },
       .Listed = [shared, &s] { return listed::RemovalList(s.InstallDir); }},
  };
  return plan;
}
