#pragma once
// Page designs as data: every control of a page is one row of a table that gives its kind,
// name, place, size, caption, colours and font. The controls are created from the table once,
// in one place (CreateControls), never placed by hand in page code. Places, sizes and font
// heights are pixels at 96 dots per inch; the toolkit multiplies them by the display's scale
// when it makes and moves the windows.

#include <windows.h>

#include <cstdint>

// A colour that is not set: the control takes its parent's background or the default text colour.
constexpr COLORREF kNoColor = CLR_INVALID;

namespace Colors {
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Maroon = RGB(128, 0, 0);
constexpr COLORREF Yellow = RGB(255, 255, 0);
constexpr COLORREF Lime = RGB(0, 255, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF Navy = RGB(0, 0, 128);
constexpr COLORREF SkyBlue = RGB(166, 202, 240);
constexpr COLORREF Cream = RGB(255, 251, 240);
}  // namespace Colors

struct TFontSpec {
  const char* Face = "MS Sans Serif";
  int Height = 11;  // character height in design pixels; 11 is 8 points, at every scale
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
};

enum class TControlKind {
  Label,       // one line of text sized to fit, unless a size is given
  StaticText,  // text in a fixed box, word-wrapped
  Panel,       // a coloured container with an optional centred caption
  Image,       // a picture from the resources
  PageControl, // a stack of sheets of which one is visible, without tabs
  Button,      // a push button
  CheckBox,
  RadioButton,
  Edit,        // one line of text the user can type
  Memo,        // several lines of read-only text with a vertical scroll bar
  ProgressBar, // smooth
  ComboBox,    // a drop-down list the user picks from without typing
  RadioGroup,  // a framed group of radio buttons, at most one selected
};

enum TControlOption : std::uint32_t {
  kTransparent = 1u << 0,   // shows its parent's background
  kWordWrap = 1u << 1,
  kHandCursor = 1u << 2,
  kStretch = 1u << 3,       // pictures: stretched to the control's size
  kRaisedBevel = 1u << 4,   // panels: a raised edge
  kCentered = 1u << 5,      // text centred horizontally
  kChecked = 1u << 6,       // check boxes and radio buttons: selected at creation
};

struct TControlSpec {
  TControlKind Kind = TControlKind::Label;
  const char* Name = "";
  const char* Parent = nullptr;  // name of a panel of the same table; none: the page itself
  int Left = 0;
  int Top = 0;
  int Width = 0;   // 0 with a label: sized to its caption
  int Height = 0;
  const char* Caption = "";
  COLORREF Color = kNoColor;      // background
  COLORREF FontColor = kNoColor;  // text
  TFontSpec Font = {};
  std::uint32_t Options = 0;
  int Resource = 0;  // pictures: the resource identifier
};
