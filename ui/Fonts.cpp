#include "ui/Fonts.h"

#include <map>
#include <string>
#include <tuple>

HFONT GetFont(const TFontSpec& font) {
  using TFontKey = std::tuple<std::string, int, bool, bool, bool>;
  static std::map<TFontKey, HFONT> fonts;
  TFontKey key{font.Face, font.Height, font.Bold, font.Italic, font.Underline};
  auto found = fonts.find(key);
  if (found != fonts.end()) return found->second;
  HFONT handle = CreateFontA(-font.Height, 0, 0, 0, font.Bold ? FW_BOLD : FW_NORMAL, font.Italic,
                             font.Underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, font.Face);
  fonts.emplace(key, handle);
  return handle;
}

HBRUSH GetSolidBrush(COLORREF color) {
  static std::map<COLORREF, HBRUSH> brushes;
  auto found = brushes.find(color);
  if (found != brushes.end()) return found->second;
  HBRUSH brush = CreateSolidBrush(color);
  brushes.emplace(color, brush);
  return brush;
}
