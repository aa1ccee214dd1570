#pragma once

#include <functional>

#include "core/CommandLine.h"

// Program start: hardens the process, prepares the application, creates the main window with
// the command line's unattended upgrade request and runs the message loop. Returns the
// program's exit code.
int RunWizard(const TAutoUpdateRequest& autoUpdate);

// Runs start, the program's start-up and message loop, and returns its exit code. A failure
// while the main window and its pages are made comes before the window's dispatch, which
// hands later failures to the error page: it is shown in a message box with its text, and the
// program ends with exit code 1.
int RunStart(const std::function<int()>& start);
