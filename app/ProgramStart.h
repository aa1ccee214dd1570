#pragma once

// Program start: hardens the process, prepares the application, creates the main window and
// runs the message loop. Returns the program's exit code.
int RunWizard();

// Makes the process look up libraries in the system folder only, never in the folder the
// installer was started from. Runs first at program start.
void RestrictDllSearchToSystemFolder();
