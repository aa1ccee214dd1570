#pragma once
// Small text helpers shared by the wizard (8-bit texts, compared as the system's ANSI code page
// compares ASCII letters).

#include <string>

std::string LowerCase(std::string text);
// Removes leading and trailing blanks and control characters.
std::string Trim(const std::string& text);
