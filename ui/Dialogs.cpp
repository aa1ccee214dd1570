#include "ui/Dialogs.h"

#include <windows.h>

#include "platform/MessageBoxes.h"
#include "ui/Application.h"

void ShowMessage(const std::string& text) {
  TApplication& application = TApplication::Instance();
  ShowMessageBox(application.MainWindow, text, application.Title, MB_OK);
}
