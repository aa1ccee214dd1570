#include "web/LIB_pmURL.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "web/HostNames.h"

namespace {

constexpr char kEscape = 'Q';

// Code character k (counted from 1) names dictionary entry k.
constexpr std::string_view kCodes =
    "ABCDEFGHIJKLMNOPQRSTUVWXabcdefghijklmnopqrstuvwx/\\:0123456789.";
static_assert(kCodes.size() == 62);

const std::array<std::string_view, 62>& Dictionary() {
  static const std::array<std::string_view, 62> entries = {
      kDictionarySites[0], kDictionarySites[1], kDictionarySites[2], kDictionarySites[3],
      "http:/www.", "http://WWW.", "http://", "HTTP://", "Http://", "WWW.", "www.",
      ".com/", ".COM/", ".com", ".COM", ".net/", ".NET/", ".net", ".NET", ".HTML", ".html",
      ".htm", ".HTM", ".mp3", ".MP3", ".Mp3", ".wma", ".WMA", ".avi", ".AVI", ".MPG", ".mpg",
      ".MPEG", ".mpeg", ".asf", ".ASF", ".JPG", ".jpg", ".Jpg", ".GIF", ".gif", ".ZIP", ".zip",
      ".Zip", ".exe", ".EXE", ".iso", ".ISO", " the ", " The ", " sex", " xxx ", " XXX ",
      " girl", " Girl", " - ", "index", " with ", " new ", "01 ", "02 ", "03 "};
  return entries;
}

struct TCharClass {
  int Page;
  int Value;
};

TCharClass ClassOf(std::uint8_t c) {
  if (c == 32) return {0, 1};
  if (c >= 46 && c <= 58) return {0, c - 44};
  if (c >= 65 && c <= 88) return {0, c - 50};
  if (c >= 97 && c <= 120) return {0, c - 58};
  if (c == 92) return {0, 63};
  if (c >= 121 && c <= 126) return {1, c - 120};
  if (c >= 89 && c <= 91) return {1, c - 82};
  if (c >= 93 && c <= 96) return {1, c - 83};
  if (c >= 59 && c <= 64) return {1, c - 45};
  if (c >= 33 && c <= 45) return {1, c - 13};
  if (c >= 127 && c <= 157) return {1, c - 94};
  if (c >= 158 && c <= 220) return {2, c - 157};
  if (c >= 221) return {3, c - 220};
  if (c >= 4) return {3, c + 32};
  return {4, c + 1};
}

// The byte of a non-zero group on a page from 0 to 4.
std::uint8_t CharOf(int page, int v) {
  int c = 0;
  switch (page) {
    case 0:
      if (v == 1) c = 32;
      else if (v <= 14) c = v + 44;
      else if (v <= 38) c = v + 50;
      else if (v <= 62) c = v + 58;
      else c = 92;
      break;
    case 1:
      if (v <= 6) c = v + 120;
      else if (v <= 9) c = v + 82;
      else if (v <= 13) c = v + 83;
      else if (v <= 19) c = v + 45;
      else if (v <= 32) c = v + 13;
      else c = v + 94;
      break;
    case 2:
      c = v + 157;
      break;
    case 3:
      c = v <= 35 ? v + 220 : v - 32;
      break;
    default:
      c = v - 1;
      break;
  }
  return static_cast<std::uint8_t>(c);
}

class TBitWriter {
 public:
  void Group(int value) {
    Bits = (Bits << 6) | static_cast<unsigned>(value);
    Count += 6;
    while (Count >= 8) {
      Count -= 8;
      Out += static_cast<char>((Bits >> Count) & 0xFF);
    }
    Bits &= (1u << Count) - 1;
  }
  std::string Finish() {
    if (Count > 0) Out += static_cast<char>((Bits << (8 - Count)) & 0xFF);
    return Out;
  }

 private:
  unsigned Bits = 0;
  int Count = 0;
  std::string Out;
};

}  // namespace

std::string EncodeURL(const std::string& text) { return EncodeURLWith(text, Dictionary()); }

std::string EncodeURLWith(const std::string& text, const std::array<std::string_view, 62>& dictionary) {
  std::string coded;
  for (const char c : text) {
    coded += c;
    if (c == kEscape) coded += ' ';
  }
  for (std::size_t k = 0; k < dictionary.size(); ++k) {
    const std::string_view entry = dictionary[k];
    // An empty entry would be found everywhere, forever.
    if (entry.empty()) continue;
    const std::string code{kEscape, kCodes[k]};
    // A longer entry shrinks the text with each replacement, so searching again from the start
    // ends. An entry of one or two characters could be found again in its own code ("Q", "QA"):
    // its search goes on after the code instead.
    std::size_t from = 0;
    for (std::size_t at = coded.find(entry, from); at != std::string::npos; at = coded.find(entry, from)) {
      coded.replace(at, entry.size(), code);
      from = entry.size() > code.size() ? 0 : at + code.size();
    }
  }
  TBitWriter bits;
  for (const char c : coded) {
    const TCharClass charClass = ClassOf(static_cast<std::uint8_t>(c));
    for (int i = 0; i < charClass.Page; ++i) bits.Group(0);
    bits.Group(charClass.Value);
  }
  return bits.Finish();
}

std::string DecodeURL(const std::string& packed) {
  std::string chars;
  int page = 0;
  unsigned bits = 0;
  int count = 0;
  for (const char byte : packed) {
    bits = (bits << 8) | static_cast<std::uint8_t>(byte);
    count += 8;
    while (count >= 6) {
      count -= 6;
      const int v = static_cast<int>((bits >> count) & 0x3F);
      if (v == 0) {
        // Beyond page 4 no group gives a character; capping keeps the count from overflowing.
        if (page < 5) ++page;
      } else {
        if (page <= 4) chars += static_cast<char>(CharOf(page, v));
        page = 0;
      }
    }
    bits &= 0x3F;
  }

  const auto& dictionary = Dictionary();
  std::string text;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    if (chars[i] == kEscape && i + 1 < chars.size()) {
      if (chars[i + 1] == ' ') {
        text += kEscape;
        ++i;
        continue;
      }
      const std::size_t k = kCodes.find(chars[i + 1]);
      if (k != std::string_view::npos) {
        text += dictionary[k];
        ++i;
        continue;
      }
    }
    // A lone escape at the end or before another character is kept as it stands.
    text += chars[i];
  }
  return text;
}
