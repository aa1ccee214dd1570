// pmdrive: drives a running installer from the command line.
//   pmdrive warm-up               start the session's desktop and COM services, then end
//   pmdrive hold                  start them and keep them until ended
//   pmdrive wait [seconds]        wait for the installer's window and print its header
//   pmdrive header                print the header caption
//   pmdrive buttons               print the captions of the visible buttons, one a line
//   pmdrive click <caption>       click the visible button with that caption
//   pmdrive screenshot <file.bmp> save the screen
//   pmdrive launch-time <program> start the program, print the milliseconds until its window
//                                 shows, then end it
#include <objbase.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/driver/UiDriver.h"

namespace {

int Usage() {
  std::fputs("usage: pmdrive warm-up | hold | wait [seconds] | header | buttons | click <caption> | "
             "screenshot <file.bmp> | launch-time <program>\n", stderr);
  return 2;
}

int LaunchTime(const std::string& program) {
  LARGE_INTEGER frequency, start, shown;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  StartedProcess process = StartProgram(program, "");
  if (!process.Process) {
    std::fprintf(stderr, "pmdrive: cannot start %s\n", program.c_str());
    return 1;
  }
  UiDriver driver(process.Id);
  bool found = driver.WaitForWindow(30000);
  QueryPerformanceCounter(&shown);
  EndProcess(process);
  if (!found) return 1;
  std::printf("%.0f\n", 1000.0 * static_cast<double>(shown.QuadPart - start.QuadPart) /
                            static_cast<double>(frequency.QuadPart));
  return 0;
}

int WarmUp() {
  CoInitialize(nullptr);
  HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(window);
  CoUninitialize();
  return 0;
}

// The session's desktop ends about a second after the last program of the session: the next
// window starts it anew, as that program's child process and without its shell ready at once.
// A program of the session that waits for messages until it is ended keeps it.
int Hold() {
  WarmUp();
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  std::string command = argv[1];
  if (command == "warm-up") return WarmUp();
  if (command == "hold") return Hold();
  if (command == "screenshot") return argc == 3 && SaveScreenshot(argv[2]) ? 0 : 1;
  if (command == "launch-time") return argc == 3 ? LaunchTime(argv[2]) : Usage();

  UiDriver driver;
  DWORD timeoutMs = command == "wait" && argc == 3 ? static_cast<DWORD>(std::atof(argv[2]) * 1000) : 2000;
  if (!driver.WaitForWindow(timeoutMs)) {
    std::fprintf(stderr, "pmdrive: no window \"%s\"\n", UiDriver::kWindowCaption);
    return 1;
  }
  if (command == "wait" || command == "header") {
    std::printf("%s\n", driver.Header().c_str());
    return 0;
  }
  if (command == "buttons") {
    for (const std::string& caption : driver.ButtonCaptions()) std::printf("%s\n", caption.c_str());
    return 0;
  }
  if (command == "click" && argc == 3) {
    if (driver.Click(argv[2])) return 0;
    std::fprintf(stderr, "pmdrive: no visible button \"%s\"\n", argv[2]);
    return 1;
  }
  return Usage();
}
