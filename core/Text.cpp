#include "core/Text.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

std::string LowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Trim(const std::string& text) {
  auto first = std::find_if_not(text.begin(), text.end(), IsBlankOrControl);
  auto last = std::find_if_not(text.rbegin(), text.rend(), IsBlankOrControl).base();
  return first < last ? std::string(first, last) : std::string();
}

std::string ZeroPadded(unsigned value, std::size_t width) {
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + value % 10));
    value /= 10;
  } while (value != 0);
  return digits.size() < width ? std::string(width - digits.size(), '0') + digits : digits;
}

std::string HexByte(unsigned char value) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

bool MatchesMask(std::string_view name, std::string_view mask) {
  // Iterative match with one backtrack point for the last "*".
  std::size_t n = 0, m = 0, starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() &&
               (mask[m] == '?' || std::tolower(static_cast<unsigned char>(mask[m])) ==
                                      std::tolower(static_cast<unsigned char>(name[n])))) {
      ++m;
      ++n;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  // A mask ending with ".*" also takes names that end where its dot stands: "*.*" is every
  // name, "readme.*" takes "readme".
  if (mask.substr(m) == ".*") return true;
  return m == mask.size();
}

int ForEachLine(std::string_view text, const std::function<void(std::string_view line, int number)>& visit) {
  int number = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    visit(line, ++number);
  }
  return number;
}
