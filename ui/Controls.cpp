#include "ui/Controls.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "core/Exceptions.h"
#include "core/PictureScaling.h"
#include "platform/SystemLibrary.h"
#include "ui/Fonts.h"
#include "ui/Jpeg.h"

TControl::TWindowClass TLabel::GetWindowClass() const {
  LONG align = HasOption(kCentered) ? SS_CENTER : HasOption(kWordWrap) ? SS_LEFT : SS_LEFTNOWORDWRAP;
  return {"STATIC", static_cast<DWORD>(WS_VISIBLE | SS_NOTIFY | align)};
}

namespace {

// Where a control that must not flicker draws itself before the result goes on screen in one
// copy. One canvas serves every such control and only grows: making a bitmap and a device
// context for every paint costs the window system several round trips each time, and the
// moving words paint many times a second. Paints do not nest, so one canvas is enough.
class TOffscreen {
 public:
  TOffscreen(HDC screen, const RECT& area) : FScreen(screen), FArea(area) {
    static HDC canvas = nullptr;
    static HBITMAP bitmap = nullptr;
    static SIZE size{};
    if (!canvas) canvas = CreateCompatibleDC(screen);
    if (!canvas) throw EOutOfMemory();
    if (size.cx < area.right || size.cy < area.bottom) {
      const SIZE wanted{std::max(size.cx, area.right), std::max(size.cy, area.bottom)};
      HBITMAP larger = CreateCompatibleBitmap(screen, wanted.cx, wanted.cy);
      if (!larger) throw EOutOfMemory();
      SelectObject(canvas, larger);
      if (bitmap) DeleteObject(bitmap);
      bitmap = larger;
      size = wanted;
    }
    FCanvas = canvas;
    FSaved = SaveDC(FCanvas);
  }
  ~TOffscreen() { RestoreDC(FCanvas, FSaved); }
  TOffscreen(const TOffscreen&) = delete;
  TOffscreen& operator=(const TOffscreen&) = delete;

  HDC Dc() const { return FCanvas; }
  void Present() const { BitBlt(FScreen, 0, 0, FArea.right, FArea.bottom, FCanvas, 0, 0, SRCCOPY); }

 private:
  HDC FScreen;
  RECT FArea;
  HDC FCanvas = nullptr;
  int FSaved = 0;
};

// The layout of a static control's text: wrapped at word breaks, unless it is one line.
bool StaticCaptionRoom(HWND window, RECT& room, UINT& format) {
  GetClientRect(window, &room);
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  format = DT_EXPANDTABS | ((style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP ? 0 : DT_WORDBREAK);
  return true;
}

// Where a caption is set on one line inside the control, less a margin on either side.
bool OneLineCaptionRoom(HWND window, int marginX, int marginY, RECT& room, UINT& format) {
  GetClientRect(window, &room);
  InflateRect(&room, -marginX, -marginY);
  format = DT_EXPANDTABS | DT_SINGLELINE;
  return true;
}

}  // namespace

bool TLabel::CaptionRoom(HDC, RECT& room, UINT& format) const {
  return StaticCaptionRoom(FHandle, room, format);
}

bool TStaticText::CaptionRoom(HDC, RECT& room, UINT& format) const {
  return StaticCaptionRoom(FHandle, room, format);
}

bool TTransparentLabel::CaptionRoom(HDC, RECT& room, UINT& format) const {
  return OneLineCaptionRoom(FHandle, 0, 0, room, format);
}

bool TPanel::CaptionRoom(HDC, RECT& room, UINT& format) const {
  return OneLineCaptionRoom(FHandle, 0, 0, room, format);
}

bool TButton::CaptionRoom(HDC, RECT& room, UINT& format) const {
  // The push button's raised edge and focus rectangle.
  return OneLineCaptionRoom(FHandle, 3, 3, room, format);
}

bool TCheckBox::CaptionRoom(HDC dc, RECT& room, UINT& format) const {
  // The system draws the box or the radio mark at its own scale, 13 pixels at 96 dots per inch,
  // and leaves half a digit of the caption's font before the caption.
  OneLineCaptionRoom(FHandle, 0, 0, room, format);
  SIZE digit;
  GetTextExtentPoint32A(dc, "0", 1, &digit);
  room.left += 12 * GetDeviceCaps(dc, LOGPIXELSX) / kDesignDpi + 1 + digit.cx / 2;
  return true;
}

bool TRadioGroup::CaptionRoom(HDC, RECT& room, UINT& format) const {
  return OneLineCaptionRoom(FHandle, Scaled(8), 0, room, format);
}

void TLabel::AfterCreate() { FitCaption(); }

void TLabel::AfterDpiChange() { FitCaption(); }

void TLabel::FitCaption() {
  if (!FAutoWidth && !FAutoHeight) return;
  HDC dc = MeasuringDc();
  HGDIOBJ old = SelectObject(dc, FontHandle());
  RECT size{0, 0, 0, 0};
  DrawTextA(dc, FCaption.c_str(), -1, &size, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, old);
  // The text is measured at the display's scale; the design size is the one that covers it there.
  SetBounds(FLeft, FTop, FAutoWidth ? DesignLengthCovering(size.right, FDpi) : FWidth,
            FAutoHeight ? DesignLengthCovering(size.bottom, FDpi) : FHeight);
}

TControl::TWindowClass TTransparentLabel::GetWindowClass() const {
  // Clipped by the words above it: it paints only what it owns on screen, so a word passing
  // over another never leaves pieces of itself behind in the other's area.
  return {"PmTransparentLabel", WS_VISIBLE | WS_CLIPSIBLINGS, 0, true};
}

void TTransparentLabel::AfterCreate() {
  TLabel::AfterCreate();
  // Above the pictures it moves over: they clip themselves against it and leave it the area.
  SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT TTransparentLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_WINDOWPOSCHANGING:
      // Copied pixels would carry the old place's background along; repaint it whole instead.
      reinterpret_cast<WINDOWPOS*>(lParam)->flags |= SWP_NOCOPYBITS;
      break;
  }
  return TLabel::HandleMessage(message, wParam, lParam);
}

std::vector<const TImage*> TTransparentLabel::PicturesBeneath() const {
  std::vector<const TImage*> pictures;
  if (!FParent) return pictures;
  for (const TControl* sibling : ControlsInside(*FParent)) {
    auto* image = dynamic_cast<const TImage*>(sibling);
    if (image && IsWindowVisible(image->Handle())) pictures.push_back(image);
  }
  if (pictures.size() < 2) return pictures;
  // Several pictures are drawn in the order the window system stacks them, top first: asking it
  // costs a round trip for each sibling, which a page with one picture is spared.
  pictures.clear();
  for (HWND sibling = GetWindow(FParent->Handle(), GW_CHILD); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
    auto* image = dynamic_cast<const TImage*>(FromHandle(sibling));
    if (image && IsWindowVisible(sibling)) pictures.push_back(image);
  }
  return pictures;
}

void TTransparentLabel::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(FHandle, &paint);
  RECT area;
  GetClientRect(FHandle, &area);
  // Drawn off screen first, so that a moving word does not flicker.
  const TOffscreen offscreen(dc, area);
  HDC buffer = offscreen.Dc();
  FillBackground(buffer, area);
  const RECT own = DisplayBounds();
  for (const TImage* image : PicturesBeneath()) {
    const RECT beneath = image->DisplayBounds();
    image->DrawInto(buffer, {beneath.left - own.left, beneath.top - own.top});
  }
  HGDIOBJ oldFont = SelectObject(buffer, FontHandle());
  SetBkMode(buffer, TRANSPARENT);
  SetTextColor(buffer, FFontColor == kNoColor ? Colors::Black : FFontColor);
  DrawTextA(buffer, FCaption.c_str(), -1, &area, DT_SINGLELINE | DT_NOCLIP);
  SelectObject(buffer, oldFont);
  offscreen.Present();
  EndPaint(FHandle, &paint);
}

TControl::TWindowClass TLinkLabel::GetWindowClass() const {
  return {"PmLinkLabel", WS_VISIBLE | WS_TABSTOP, 0, true};
}

LRESULT TLinkLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(FHandle, nullptr, TRUE);
      return 0;
    case BM_CLICK:
      if (OnClick) OnClick(*this);
      return 0;
  }
  return TLabel::HandleMessage(message, wParam, lParam);
}

bool TLinkLabel::PreProcessKey(MSG& message) {
  if (message.message != WM_KEYDOWN || (message.wParam != VK_RETURN && message.wParam != VK_SPACE)) return false;
  if (!(message.lParam & (1 << 30)) && OnClick) OnClick(*this);
  return true;
}

void TLinkLabel::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(FHandle, &paint);
  RECT area;
  GetClientRect(FHandle, &area);
  HGDIOBJ old = SelectObject(dc, FontHandle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, FFontColor == kNoColor ? Colors::Black : FFontColor);
  DrawTextA(dc, FCaption.c_str(), -1, &area, DT_SINGLELINE | DT_NOCLIP);
  SelectObject(dc, old);
  // Always shown while it has the focus: a keyboard user must see where the focus is.
  if (GetFocus() == FHandle) DrawFocusRect(dc, &area);
  EndPaint(FHandle, &paint);
}

TControl::TWindowClass TStaticText::GetWindowClass() const {
  return {"STATIC", static_cast<DWORD>(WS_VISIBLE | SS_NOTIFY | (HasOption(kCentered) ? SS_CENTER : SS_LEFT))};
}

TControl::TWindowClass TPanel::GetWindowClass() const {
  return {"PmPanel", WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, true};
}

LRESULT TPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    Paint();
    return 0;
  }
  return TControl::HandleMessage(message, wParam, lParam);
}

void TPanel::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(FHandle, &paint);
  RECT area;
  GetClientRect(FHandle, &area);
  if (HasOption(kRaisedBevel)) DrawEdge(dc, &area, BDR_RAISEDOUTER, BF_RECT);
  if (!FCaption.empty()) {
    HGDIOBJ old = SelectObject(dc, FontHandle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, FFontColor == kNoColor ? Colors::Black : FFontColor);
    DrawTextA(dc, FCaption.c_str(), -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
  }
  EndPaint(FHandle, &paint);
}

namespace {

// The product icon's size in the design: the icon of the size nearest to it at the display's
// scale is taken.
constexpr int kIconDesignSize = 32;

// The picture's pixels as 24-bit rows, top row first.
std::vector<std::uint8_t> RowsOf(HBITMAP bitmap, int width, int height, std::size_t stride) {
  std::vector<std::uint8_t> rows(stride * static_cast<std::size_t>(height));
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 24;
  format.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  const int copied = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), rows.data(), &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (copied != height) throw Exception("Cannot read the pixels of a picture");
  return rows;
}

}  // namespace

TImage::~TImage() {
  if (FIcon) DestroyIcon(FIcon);
  if (FBitmap) DeleteObject(FBitmap);
  ForgetShown();
}

TControl::TWindowClass TImage::GetWindowClass() const {
  // Clipped by the siblings above it: panels and moving words that lie over the picture.
  return {"PmImage", WS_VISIBLE | WS_CLIPSIBLINGS, 0, true};
}

void TImage::AfterCreate() {
  if (FResource == 0) return;
  if (!HasPictureResource(FResource)) {
    LoadIconAtScale();
    return;
  }
  FUndecoded = FResource;
  if (FWidth == 0) {
    const SIZE size = PictureResourceSize(FResource);
    SetBounds(FLeft, FTop, size.cx, size.cy);
  }
}

HBITMAP TImage::Bitmap() const {
  // Tried once: a picture that fails to decode is reported once and then left out.
  if (const int resource = std::exchange(FUndecoded, 0)) FBitmap = LoadPictureResource(resource);
  return FBitmap;
}

void TImage::AfterDpiChange() {
  ForgetShown();
  if (FIcon) LoadIconAtScale();
}

void TImage::LoadIconAtScale() {
  if (FIcon) DestroyIcon(FIcon);
  // The system picks the icon's image nearest to the size asked for and scales only that one.
  FIconSize = Scaled(kIconDesignSize);
  FIcon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(FResource),
                                        IMAGE_ICON, FIconSize, FIconSize, LR_DEFAULTCOLOR));
}

void TImage::SetBitmap(HBITMAP bitmap) {
  if (FBitmap) DeleteObject(FBitmap);
  FUndecoded = 0;
  FBitmap = bitmap;
  ForgetShown();
  if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
}

void TImage::ForgetShown() const {
  if (FShown) DeleteObject(FShown);
  FShown = nullptr;
  FShownSize = {};
}

HBITMAP TImage::Shown(SIZE size) const {
  BITMAP info;
  GetObject(FBitmap, sizeof info, &info);
  // An opaque picture at its own size is shown as decoded, as most are at 100 %: a copy would
  // cost the first page's paint many milliseconds.
  if (!HasOption(kTransparent) && size.cx == info.bmWidth && size.cy == info.bmHeight) return FBitmap;
  if (FShown && FShownSize.cx == size.cx && FShownSize.cy == size.cy) return FShown;
  ForgetShown();
  const std::size_t stride = (static_cast<std::size_t>(info.bmWidth) * 3 + 3) & ~std::size_t{3};
  const std::vector<std::uint8_t> rows = RowsOf(FBitmap, info.bmWidth, info.bmHeight, stride);
  std::optional<TBgr> seeThrough;
  if (HasOption(kTransparent)) {
    const std::uint8_t* bottomLeft = rows.data() + stride * static_cast<std::size_t>(info.bmHeight - 1);
    seeThrough = TBgr{bottomLeft[0], bottomLeft[1], bottomLeft[2]};
  }
  const TPicture picture = ScalePicture(PictureFromBgr(rows.data(), info.bmWidth, info.bmHeight, stride, seeThrough),
                                        size.cx, size.cy);
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = size.cx;
  format.bmiHeader.biHeight = -size.cy;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP shown = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (!shown) throw EOutOfMemory();
  std::copy(picture.Pixels.begin(), picture.Pixels.end(), static_cast<std::uint8_t*>(pixels));
  GdiFlush();
  FShown = shown;
  FShownSize = size;
  return FShown;
}

LRESULT TImage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      // Painted whole, background and picture at once: an erase first would show for a moment
      // wherever a word moving over the picture has just left.
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
  }
  return TControl::HandleMessage(message, wParam, lParam);
}

void TImage::Paint() {
  Bitmap();  // decoded before the paint begins, which a failure would leave unfinished
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(FHandle, &paint);
  RECT area;
  GetClientRect(FHandle, &area);
  {
    const TOffscreen offscreen(dc, area);
    FillBackground(offscreen.Dc(), area);
    DrawInto(offscreen.Dc(), {0, 0});
    offscreen.Present();
  }
  EndPaint(FHandle, &paint);
}

void TImage::DrawInto(HDC dc, POINT origin) const {
  if (FIcon) DrawIconEx(dc, origin.x, origin.y, FIcon, FIconSize, FIconSize, 0, nullptr, DI_NORMAL);
  if (!Bitmap()) return;
  BITMAP info;
  GetObject(FBitmap, sizeof info, &info);
  const RECT bounds = DisplayBounds();
  const SIZE size = HasOption(kStretch) ? SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top}
                                        : SIZE{Scaled(info.bmWidth), Scaled(info.bmHeight)};
  if (size.cx < 1 || size.cy < 1) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, Shown(size));
  if (HasOption(kTransparent)) {
    static const auto alphaBlend = SystemFunctionOf<decltype(&AlphaBlend)>("msimg32.dll", "AlphaBlend");
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    alphaBlend(dc, origin.x, origin.y, size.cx, size.cy, source, 0, 0, size.cx, size.cy, blend);
  } else {
    BitBlt(dc, origin.x, origin.y, size.cx, size.cy, source, 0, 0, SRCCOPY);
  }
  SelectObject(source, old);
  DeleteDC(source);
}

TControl::TWindowClass TTabSheet::GetWindowClass() const {
  return {"PmTabSheet", WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, true};
}

void TTabSheet::SetContent(std::unique_ptr<TControl> content) {
  FContent = std::move(content);
  FContent->SetBounds(0, 0, FWidth, FHeight);
  FContent->CreateHandle(this);
}

TControl::TWindowClass TPageControl::GetWindowClass() const {
  return {"PmPageControl", WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, true};
}

TTabSheet& TPageControl::AddSheet(const std::string& name) {
  TControlSpec spec{.Name = name.c_str(), .Width = FWidth, .Height = FHeight};
  FSheets.push_back(std::make_unique<TTabSheet>(spec));
  FSheets.back()->CreateHandle(this);
  return *FSheets.back();
}

void TPageControl::SetActivePage(TTabSheet& sheet) {
  if (FActive == &sheet) return;
  sheet.SetVisible(true);
  if (FActive) FActive->SetVisible(false);
  FActive = &sheet;
}

void TControlSet::Add(std::unique_ptr<TControl> control) {
  std::string name = control->Name();
  FControls[name] = std::move(control);
}

TControl* TControlSet::Find(const std::string& name) const {
  auto found = FControls.find(name);
  return found == FControls.end() ? nullptr : found->second.get();
}

TControl& TControlSet::Get(const std::string& name) const {
  TControl* control = Find(name);
  if (!control) throw Exception("No control named " + name);
  return *control;
}

TControl::TWindowClass TButton::GetWindowClass() const {
  return {"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON};
}

TControl::TWindowClass TCheckBox::GetWindowClass() const {
  return {"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX};
}

void TCheckBox::AfterCreate() { SetChecked(HasOption(kChecked)); }

bool TCheckBox::Checked() const { return SendMessageA(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TCheckBox::SetChecked(bool checked) {
  SendMessageA(FHandle, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

TControl::TWindowClass TRadioButton::GetWindowClass() const {
  return {"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON};
}

TControl::TWindowClass TEdit::GetWindowClass() const {
  return {"EDIT", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
}

bool TEdit::PreProcessKey(MSG& message) {
  if (!OnKeyPress) return false;
  // Enter never reaches a one-line box as a character: dialog navigation takes it first.
  bool enter = message.message == WM_KEYDOWN && message.wParam == VK_RETURN;
  if (!enter && message.message != WM_CHAR) return false;
  char key = enter ? '\r' : static_cast<char>(message.wParam);
  OnKeyPress(*this, key);
  if (enter || key == 0) return true;
  message.wParam = static_cast<unsigned char>(key);
  return false;
}

void TEdit::OnCommand(WORD code) {
  if (code == EN_KILLFOCUS && OnExit) OnExit(*this);
}

HBRUSH TEdit::OnCtlColor(HDC dc) {
  COLORREF background = FColor == kNoColor ? GetSysColor(COLOR_WINDOW) : FColor;
  SetTextColor(dc, FFontColor == kNoColor ? GetSysColor(COLOR_WINDOWTEXT) : FFontColor);
  SetBkColor(dc, background);
  return GetSolidBrush(background);
}

TControl::TWindowClass TMemo::GetWindowClass() const {
  return {"EDIT", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
          WS_EX_CLIENTEDGE};
}

void TMemo::Clear() {
  FLines.clear();
  SetCaption("");
}

void TMemo::AddLine(const std::string& line) {
  FLines.push_back(line);
  std::string text;
  for (size_t i = 0; i < FLines.size(); ++i) text += (i ? "\r\n" : "") + FLines[i];
  SetCaption(text);
}

void TMemo::ScrollToTop() {
  SendMessageA(FHandle, EM_SETSEL, 0, 0);
  SendMessageA(FHandle, EM_SCROLLCARET, 0, 0);
}

int TMemo::FirstVisibleLine() const {
  return static_cast<int>(SendMessageA(FHandle, EM_GETFIRSTVISIBLELINE, 0, 0));
}

TControl::TWindowClass TProgressBar::GetWindowClass() const {
  return {PROGRESS_CLASSA, WS_VISIBLE | PBS_SMOOTH};
}

int TProgressBar::Max() const {
  return static_cast<int>(SendMessageA(FHandle, PBM_GETRANGE, FALSE, 0));
}

void TProgressBar::SetMax(int max) { SendMessageA(FHandle, PBM_SETRANGE32, 0, max); }

int TProgressBar::Position() const { return static_cast<int>(SendMessageA(FHandle, PBM_GETPOS, 0, 0)); }

void TProgressBar::SetPosition(int position) { SendMessageA(FHandle, PBM_SETPOS, position, 0); }

TControl::TWindowClass TComboBox::GetWindowClass() const {
  return {"COMBOBOX", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST};
}

void TComboBox::AfterCreate() {
  // A drop-down list's window height is the height of its opened list.
  constexpr int kListHeight = 200;
  if (FHeight < kListHeight) SetBounds(FLeft, FTop, FWidth, kListHeight);
}

HBRUSH TComboBox::OnCtlColor(HDC dc) {
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return GetSysColorBrush(COLOR_WINDOW);
}

void TComboBox::Clear() { SendMessageA(FHandle, CB_RESETCONTENT, 0, 0); }

void TComboBox::AddItem(const std::string& item) {
  SendMessageA(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

int TComboBox::Count() const { return static_cast<int>(SendMessageA(FHandle, CB_GETCOUNT, 0, 0)); }

std::string TComboBox::Item(int index) const {
  LRESULT length = SendMessageA(FHandle, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) throw Exception("List index out of bounds (" + std::to_string(index) + ")");
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(FHandle, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

int TComboBox::ItemIndex() const { return static_cast<int>(SendMessageA(FHandle, CB_GETCURSEL, 0, 0)); }

void TComboBox::SetItemIndex(int index) { SendMessageA(FHandle, CB_SETCURSEL, index, 0); }

TControl::TWindowClass TRadioGroup::GetWindowClass() const {
  return {"PmRadioGroup", WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, true};
}

LRESULT TRadioGroup::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    Paint();
    return 0;
  }
  return TControl::HandleMessage(message, wParam, lParam);
}

void TRadioGroup::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(FHandle, &paint);
  RECT area;
  GetClientRect(FHandle, &area);
  HGDIOBJ oldFont = SelectObject(dc, FontHandle());
  TEXTMETRICA metrics;
  GetTextMetricsA(dc, &metrics);
  // An etched frame whose top line runs through the middle of the caption, as a group box has.
  RECT frame = area;
  frame.top += metrics.tmHeight / 2 - 1;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (!FCaption.empty()) {
    const int captionLeft = Scaled(8);
    RECT caption{captionLeft, 0, area.right - captionLeft, metrics.tmHeight};
    DrawTextA(dc, FCaption.c_str(), -1, &caption, DT_SINGLELINE | DT_CALCRECT);
    // The caption stands on the group's background, with a blank on either side of it.
    RECT gap{caption.left - Scaled(2), 0, caption.right + Scaled(2), metrics.tmHeight};
    FillRect(dc, &gap, GetSolidBrush(BackgroundColor()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, FFontColor == kNoColor ? Colors::Black : FFontColor);
    DrawTextA(dc, FCaption.c_str(), -1, &caption, DT_SINGLELINE);
  }
  SelectObject(dc, oldFont);
  EndPaint(FHandle, &paint);
}

void TRadioGroup::ClearItems() { FButtons.clear(); }

void TRadioGroup::AddItem(const std::string& caption) {
  TControlSpec spec{.Kind = TControlKind::RadioButton, .Name = "", .Caption = caption.c_str(),
                   .Font = FFont};
  FButtons.push_back(std::make_unique<TRadioButton>(spec));
  FButtons.back()->CreateHandle(this);
  Arrange();
}

void TRadioGroup::Arrange() {
  // The items share the room below the caption evenly, as a radio group lays them out.
  const int top = FFont.Height + 4;
  const int room = FHeight - top - 4;
  const int count = static_cast<int>(FButtons.size());
  for (int i = 0; i < count; ++i) {
    int itemTop = top + room * i / count;
    int itemHeight = room * (i + 1) / count - room * i / count;
    FButtons[static_cast<size_t>(i)]->SetBounds(8, itemTop, FWidth - 16, itemHeight);
  }
}

int TRadioGroup::ItemIndex() const {
  for (size_t i = 0; i < FButtons.size(); ++i)
    if (FButtons[i]->Checked()) return static_cast<int>(i);
  return -1;
}

void TRadioGroup::SetItemIndex(int index) {
  for (size_t i = 0; i < FButtons.size(); ++i) FButtons[i]->SetChecked(static_cast<int>(i) == index);
}

std::unique_ptr<TControl> MakeControl(const TControlSpec& spec) {
  switch (spec.Kind) {
    case TControlKind::Label:
      if (spec.Options & kTransparent) return std::make_unique<TTransparentLabel>(spec);
      if (spec.Options & kHandCursor) return std::make_unique<TLinkLabel>(spec);
      return std::make_unique<TLabel>(spec);
    case TControlKind::StaticText: return std::make_unique<TStaticText>(spec);
    case TControlKind::Panel: return std::make_unique<TPanel>(spec);
    case TControlKind::PageControl: return std::make_unique<TPageControl>(spec);
    case TControlKind::Button: return std::make_unique<TButton>(spec);
    case TControlKind::CheckBox: return std::make_unique<TCheckBox>(spec);
    case TControlKind::RadioButton: return std::make_unique<TRadioButton>(spec);
    case TControlKind::Edit: return std::make_unique<TEdit>(spec);
    case TControlKind::Memo: return std::make_unique<TMemo>(spec);
    case TControlKind::ProgressBar: return std::make_unique<TProgressBar>(spec);
    case TControlKind::ComboBox: return std::make_unique<TComboBox>(spec);
    case TControlKind::RadioGroup: return std::make_unique<TRadioGroup>(spec);
    case TControlKind::Image: {
      auto image = std::make_unique<TImage>(spec);
      image->FResource = spec.Resource;
      return image;
    }
  }
  throw Exception(std::string("Unknown control kind of ") + spec.Name);
}

void CreateControls(TControl& owner, std::span<const TControlSpec> design, TControlSet& controls) {
  for (const TControlSpec& spec : design) {
    std::unique_ptr<TControl> control = MakeControl(spec);
    control->CreateHandle(spec.Parent ? &controls.Get(spec.Parent) : &owner);
    controls.Add(std::move(control));
  }
}
