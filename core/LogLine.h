#pragma once
// One line of the programs' step logs (the installer's and the uninstaller's): the local date and
// time, the text, CR LF.

#include <string>

struct TLogTime {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

// "2026-12-10 17:30:01.123 " followed by the text and CR LF. Line breaks and other control
// characters in the text become blanks, so that every event stays on one line.
std::string LogLine(const TLogTime& time, const std::string& text);
