/* Stands in for a program that the wizard starts: it leaves "<its own path>.ran" holding its
   command line, so a test sees which program really ran. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  char path[MAX_PATH + 8];
  DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
  const char* line = GetCommandLineA();
  HANDLE file;
  DWORD written;
  (void)instance;
  (void)previous;
  (void)commandLine;
  (void)show;
  lstrcpyA(path + length, ".ran");
  file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return 1;
  WriteFile(file, line, (DWORD)lstrlenA(line), &written, NULL);
  CloseHandle(file);
  return 0;
}
