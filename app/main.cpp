#include <windows.h>

#include "app/ProgramStart.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunWizard(); }
