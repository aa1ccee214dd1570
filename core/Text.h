#pragma once
// Small text helpers shared by the wizard (8-bit texts, compared as the system's ANSI code page
// compares ASCII letters).

#include <functional>
#include <string>
#include <string_view>

std::string LowerCase(std::string text);
// Removes leading and trailing blanks and control characters.
std::string Trim(const std::string& text);

// The decimal digits of value with leading zeros up to width digits, as printf's "%0*u" gives
// them; the programs' logs format their time stamps with it, without the weight of printf.
std::string ZeroPadded(unsigned value, std::size_t width);
// Two upper-case hexadecimal digits, as "%02X" gives them.
std::string HexByte(unsigned char value);

// Windows file masks: "*" any run of characters, "?" one character, case-insensitive.
bool MatchesMask(std::string_view name, std::string_view mask);

// Hands each line of the text to visit with its number, counted from 1: a line ends with "\n"
// or "\r\n" (the "\r" is not part of it), the last one also without. Empty lines count and are
// handed on too. Returns the number of lines; an empty text has none.
int ForEachLine(std::string_view text, const std::function<void(std::string_view line, int number)>& visit);
