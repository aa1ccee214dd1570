#pragma once
// Small text helpers shared by the wizard (8-bit texts, compared as the system's ANSI code page
// compares ASCII letters).

#include <string>
#include <string_view>

std::string LowerCase(std::string text);
// Removes leading and trailing blanks and control characters.
std::string Trim(const std::string& text);

// Windows file masks: "*" any run of characters, "?" one character, case-insensitive.
bool MatchesMask(std::string_view name, std::string_view mask);
