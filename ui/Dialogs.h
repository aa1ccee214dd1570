#pragma once

#include <string>

// Shows a modal message box over the main window with the program's title; lines of the text
// are separated by single carriage returns.
void ShowMessage(const std::string& text);
