#include "app/Text.h"

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
