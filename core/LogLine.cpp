#include "core/LogLine.h"

#include "core/Text.h"

std::string LogLine(const TLogTime& time, const std::string& text) {
  const auto field = [](int value, std::size_t width) { return ZeroPadded(static_cast<unsigned>(value), width); };
  std::string line = field(time.Year, 4) + '-' + field(time.Month, 2) + '-' + field(time.Day, 2) + ' ' +
                     field(time.Hour, 2) + ':' + field(time.Minute, 2) + ':' + field(time.Second, 2) + '.' +
                     field(time.Millisecond, 3) + ' ';
  for (char c : text) line += static_cast<unsigned char>(c) < ' ' ? ' ' : c;
  return line + "\r\n";
}
