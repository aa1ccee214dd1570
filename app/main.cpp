#include <windows.h>

#include "app/SilentInstall.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunInstaller(); }
