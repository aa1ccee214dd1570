#include "app/ProgramStart.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "app/Appl_Globals.h"
#include "app/Form_Main.h"
#include "core/Random.h"
#include "platform/MessageBoxes.h"
#include "platform/SystemLibrary.h"
#include "ui/Application.h"

int RunStart(const std::function<int()>& start) {
  try {
    return start();
  } catch (const std::exception& error) {
    ShowMessageBox(nullptr, ExceptionMessage(error), TApplication::Instance().Title,
                   MB_OK | MB_ICONSTOP);
  } catch (...) {
    ShowMessageBox(nullptr, "Unknown failure", TApplication::Instance().Title, MB_OK | MB_ICONSTOP);
  }
  return 1;
}

int RunWizard(const TAutoUpdateRequest& autoUpdate) {
  RestrictDllSearchToSystemFolder();
  return RunStart([&autoUpdate] {
    INITCOMMONCONTROLSEX commonControls{sizeof commonControls,
                                        ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_TREEVIEW_CLASSES};
    SystemFunctionOf<decltype(&InitCommonControlsEx)>("comctl32.dll", "InitCommonControlsEx")(&commonControls);

    // Key texts, scrambling and the client's identity must differ between installations.
    Randomize();

    TApplication& application = TApplication::Instance();
    application.Title = "Install Pelmora P2P";
    ReleaseCode = "01";

    TFormMain form;
    form.Create(autoUpdate);
    application.MainWindow = form.Handle();
    // Shell links and the folder tree need COM on the GUI thread, but not the first page: it is
    // started once that page is on the screen.
    form.Show([] { OleInitialize(nullptr); });
    int exitCode = application.Run();
    OleUninitialize();
    return exitCode;
  });
}
