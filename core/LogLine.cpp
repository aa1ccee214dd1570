#include "core/LogLine.h"

#include <cstdio>

std::string LogLine(const TLogTime& time, const std::string& text) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d.%03d ", time.Year, time.Month,
                time.Day, time.Hour, time.Minute, time.Second, time.Millisecond);
  std::string line = stamp;
  for (char c : text) line += static_cast<unsigned char>(c) < ' ' ? ' ' : c;
  return line + "\r\n";
}
