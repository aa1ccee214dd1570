#include "ui/Fonts.h"

#include <cstring>
#include <map>
#include <string>
#include <tuple>

#include "core/DisplayScale.h"
#include "core/Exceptions.h"

namespace {

// Bitmap faces of the designs and the scalable faces cut from the same design.
struct TScalableCut {
  const char* Face;
  const char* Scalable;
};
constexpr TScalableCut kScalableCuts[] = {{"MS Sans Serif", "Microsoft Sans Serif"}};

// The face a design font is set in at a scale.
const char* FaceAtScale(const TFontSpec& font, int dpi) {
  if (dpi == kDesignDpi) return font.Face;
  for (const TScalableCut& cut : kScalableCuts)
    if (std::strcmp(cut.Face, font.Face) == 0) return cut.Scalable;
  return font.Face;
}

}  // namespace

HFONT GetFont(const TFontSpec& font, int dpi, int pixels) {
  using TFontKey = std::tuple<std::string, int, bool, bool, bool>;
  static std::map<TFontKey, HFONT> fonts;
  const char* face = FaceAtScale(font, dpi);
  TFontKey key{face, pixels, font.Bold, font.Italic, font.Underline};
  auto found = fonts.find(key);
  if (found != fonts.end()) return found->second;
  HFONT handle = CreateFontA(-pixels, 0, 0, 0, font.Bold ? FW_BOLD : FW_NORMAL, font.Italic,
                             font.Underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
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

HDC MeasuringDc() {
  static HDC dc = nullptr;
  if (!dc) dc = CreateCompatibleDC(nullptr);
  if (!dc) throw EOutOfMemory();
  return dc;
}
