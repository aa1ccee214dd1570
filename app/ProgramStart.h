#pragma once

// Program start: hardens the process, prepares the application, creates the main window and
// runs the message loop. Returns the program's exit code.
int RunWizard();
