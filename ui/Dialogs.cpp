#include "ui/Dialogs.h"

#include <windows.h>

#include "platform/MessageBoxes.h"
#include "ui/Application.h"

void ShowMessage(const std::string& text) {
  Application& application = Application::Instance();
  ShowMessageBox(application.MainWindow, text, application.Title, MB_OK);
}
