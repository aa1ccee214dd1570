#include "ui/Dialogs.h"

#include <windows.h>

#include "ui/Application.h"

void ShowMessage(const std::string& text) {
  Application& application = Application::Instance();
  MessageBoxA(application.MainWindow, text.c_str(), application.Title.c_str(), MB_OK);
}
