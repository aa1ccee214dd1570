#include "ui/Controls.h"

#include <commctrl.h>

#include "core/Exceptions.h"
#include "platform/SystemLibrary.h"
#include "ui/Fonts.h"
#include "ui/Jpeg.h"

Control::WindowClass TLabel::GetWindowClass() const {
  LONG align = HasOption(kCentered) ? SS_CENTER : HasOption(kWordWrap) ? SS_LEFT : SS_LEFTNOWORDWRAP;
  return {"STATIC", static_cast<DWORD>(WS_VISIBLE | SS_NOTIFY | align)};
}

void TLabel::AfterCreate() {
  if (width_ != 0) return;
  HDC dc = GetDC(handle_);
  HGDIOBJ old = SelectObject(dc, GetFont(font_));
  RECT size{0, 0, 0, 0};
  DrawTextA(dc, caption_.c_str(), -1, &size, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, old);
  ReleaseDC(handle_, dc);
  SetBounds(left_, top_, size.right, height_ != 0 ? height_ : size.bottom);
}

Control::WindowClass TTransparentLabel::GetWindowClass() const {
  // Clipped by the words above it: it paints only what it owns on screen, so a word passing
  // over another never leaves pieces of itself behind in the other's area.
  return {"PmTransparentLabel", WS_VISIBLE | WS_CLIPSIBLINGS, 0, true};
}

void TTransparentLabel::AfterCreate() {
  TLabel::AfterCreate();
  // Above the pictures it moves over: they clip themselves against it and leave it the area.
  SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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

void TTransparentLabel::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(handle_, &paint);
  RECT area;
  GetClientRect(handle_, &area);
  // Drawn off screen first, so that a moving word does not flicker.
  HDC buffer = CreateCompatibleDC(dc);
  HBITMAP canvas = CreateCompatibleBitmap(dc, area.right, area.bottom);
  HGDIOBJ oldCanvas = SelectObject(buffer, canvas);
  FillBackground(buffer, area);
  if (parent_) {
    for (HWND sibling = GetWindow(parent_->Handle(), GW_CHILD); sibling;
         sibling = GetWindow(sibling, GW_HWNDNEXT)) {
      auto* image = dynamic_cast<TImage*>(FromHandle(sibling));
      if (!image || !IsWindowVisible(sibling)) continue;
      image->DrawInto(buffer, {image->Left() - left_, image->Top() - top_});
    }
  }
  HGDIOBJ oldFont = SelectObject(buffer, GetFont(font_));
  SetBkMode(buffer, TRANSPARENT);
  SetTextColor(buffer, fontColor_ == kNoColor ? Colors::Black : fontColor_);
  DrawTextA(buffer, caption_.c_str(), -1, &area, DT_SINGLELINE | DT_NOCLIP);
  SelectObject(buffer, oldFont);
  BitBlt(dc, 0, 0, area.right, area.bottom, buffer, 0, 0, SRCCOPY);
  SelectObject(buffer, oldCanvas);
  DeleteObject(canvas);
  DeleteDC(buffer);
  EndPaint(handle_, &paint);
}

Control::WindowClass TStaticText::GetWindowClass() const {
  return {"STATIC", static_cast<DWORD>(WS_VISIBLE | SS_NOTIFY | (HasOption(kCentered) ? SS_CENTER : SS_LEFT))};
}

Control::WindowClass TPanel::GetWindowClass() const {
  return {"PmPanel", WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, true};
}

LRESULT TPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    Paint();
    return 0;
  }
  return Control::HandleMessage(message, wParam, lParam);
}

void TPanel::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(handle_, &paint);
  RECT area;
  GetClientRect(handle_, &area);
  if (HasOption(kRaisedBevel)) DrawEdge(dc, &area, BDR_RAISEDOUTER, BF_RECT);
  if (!caption_.empty()) {
    HGDIOBJ old = SelectObject(dc, GetFont(font_));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, fontColor_ == kNoColor ? Colors::Black : fontColor_);
    DrawTextA(dc, caption_.c_str(), -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
  }
  EndPaint(handle_, &paint);
}

TImage::~TImage() {
  if (icon_) DestroyIcon(icon_);
  if (bitmap_) DeleteObject(bitmap_);
}

Control::WindowClass TImage::GetWindowClass() const {
  // Clipped by the siblings above it: panels and moving words that lie over the picture.
  return {"PmImage", WS_VISIBLE | WS_CLIPSIBLINGS, 0, true};
}

void TImage::AfterCreate() {
  if (resource_ != 0) {
    if (HasPictureResource(resource_))
      bitmap_ = LoadPictureResource(resource_);
    else
      icon_ = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource_),
                                            IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
  }
  if (bitmap_ && width_ == 0) {
    BITMAP info;
    GetObject(bitmap_, sizeof info, &info);
    SetBounds(left_, top_, info.bmWidth, info.bmHeight);
  }
}

void TImage::SetBitmap(HBITMAP bitmap) {
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = bitmap;
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

LRESULT TImage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    Paint();
    return 0;
  }
  return Control::HandleMessage(message, wParam, lParam);
}

void TImage::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(handle_, &paint);
  DrawInto(dc, {0, 0});
  EndPaint(handle_, &paint);
}

void TImage::DrawInto(HDC dc, POINT origin) const {
  if (icon_) DrawIconEx(dc, origin.x, origin.y, icon_, 32, 32, 0, nullptr, DI_NORMAL);
  if (!bitmap_) return;
  BITMAP info;
  GetObject(bitmap_, sizeof info, &info);
  const bool stretch = HasOption(kStretch);
  const int width = stretch ? width_ : info.bmWidth;
  const int height = stretch ? height_ : info.bmHeight;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, bitmap_);
  if (HasOption(kTransparent)) {
    static const auto transparentBlt = SystemFunctionOf<decltype(&TransparentBlt)>("msimg32.dll", "TransparentBlt");
    transparentBlt(dc, origin.x, origin.y, width, height, source, 0, 0, info.bmWidth, info.bmHeight,
                   GetPixel(source, 0, info.bmHeight - 1));
  } else if (stretch) {
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, origin.x, origin.y, width, height, source, 0, 0, info.bmWidth, info.bmHeight,
               SRCCOPY);
  } else {
    BitBlt(dc, origin.x, origin.y, width, height, source, 0, 0, SRCCOPY);
  }
  SelectObject(source, old);
  DeleteDC(source);
}

Control::WindowClass TTabSheet::GetWindowClass() const {
  return {"PmTabSheet", WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, true};
}

void TTabSheet::SetContent(std::unique_ptr<Control> content) {
  content_ = std::move(content);
  content_->SetBounds(0, 0, width_, height_);
  content_->CreateHandle(this);
}

Control::WindowClass TPageControl::GetWindowClass() const {
  return {"PmPageControl", WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, true};
}

TTabSheet& TPageControl::AddSheet(const std::string& name) {
  ControlSpec spec{.Name = name.c_str(), .Width = width_, .Height = height_};
  sheets_.push_back(std::make_unique<TTabSheet>(spec));
  sheets_.back()->CreateHandle(this);
  return *sheets_.back();
}

void TPageControl::SetActivePage(TTabSheet& sheet) {
  if (active_ == &sheet) return;
  sheet.SetVisible(true);
  if (active_) active_->SetVisible(false);
  active_ = &sheet;
}

void ControlSet::Add(std::unique_ptr<Control> control) {
  std::string name = control->Name();
  controls_[name] = std::move(control);
}

Control* ControlSet::Find(const std::string& name) const {
  auto found = controls_.find(name);
  return found == controls_.end() ? nullptr : found->second.get();
}

Control& ControlSet::Get(const std::string& name) const {
  Control* control = Find(name);
  if (!control) throw Exception("No control named " + name);
  return *control;
}

Control::WindowClass TButton::GetWindowClass() const {
  return {"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON};
}

Control::WindowClass TCheckBox::GetWindowClass() const {
  return {"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX};
}

void TCheckBox::AfterCreate() { SetChecked(HasOption(kChecked)); }

bool TCheckBox::Checked() const { return SendMessageA(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TCheckBox::SetChecked(bool checked) {
  SendMessageA(handle_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

Control::WindowClass TRadioButton::GetWindowClass() const {
  return {"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON};
}

Control::WindowClass TEdit::GetWindowClass() const {
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
  COLORREF background = color_ == kNoColor ? GetSysColor(COLOR_WINDOW) : color_;
  SetTextColor(dc, fontColor_ == kNoColor ? GetSysColor(COLOR_WINDOWTEXT) : fontColor_);
  SetBkColor(dc, background);
  return GetSolidBrush(background);
}

Control::WindowClass TMemo::GetWindowClass() const {
  return {"EDIT", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
          WS_EX_CLIENTEDGE};
}

void TMemo::Clear() {
  lines_.clear();
  SetCaption("");
}

void TMemo::AddLine(const std::string& line) {
  lines_.push_back(line);
  std::string text;
  for (size_t i = 0; i < lines_.size(); ++i) text += (i ? "\r\n" : "") + lines_[i];
  SetCaption(text);
}

void TMemo::ScrollToTop() {
  SendMessageA(handle_, EM_SETSEL, 0, 0);
  SendMessageA(handle_, EM_SCROLLCARET, 0, 0);
}

int TMemo::FirstVisibleLine() const {
  return static_cast<int>(SendMessageA(handle_, EM_GETFIRSTVISIBLELINE, 0, 0));
}

Control::WindowClass TProgressBar::GetWindowClass() const {
  return {PROGRESS_CLASSA, WS_VISIBLE | PBS_SMOOTH};
}

int TProgressBar::Max() const {
  return static_cast<int>(SendMessageA(handle_, PBM_GETRANGE, FALSE, 0));
}

void TProgressBar::SetMax(int max) { SendMessageA(handle_, PBM_SETRANGE32, 0, max); }

int TProgressBar::Position() const { return static_cast<int>(SendMessageA(handle_, PBM_GETPOS, 0, 0)); }

void TProgressBar::SetPosition(int position) { SendMessageA(handle_, PBM_SETPOS, position, 0); }

Control::WindowClass TComboBox::GetWindowClass() const {
  return {"COMBOBOX", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST};
}

void TComboBox::AfterCreate() {
  // A drop-down list's window height is the height of its opened list.
  constexpr int kListHeight = 200;
  if (height_ < kListHeight) SetBounds(left_, top_, width_, kListHeight);
}

HBRUSH TComboBox::OnCtlColor(HDC dc) {
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return GetSysColorBrush(COLOR_WINDOW);
}

void TComboBox::Clear() { SendMessageA(handle_, CB_RESETCONTENT, 0, 0); }

void TComboBox::AddItem(const std::string& item) {
  SendMessageA(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

int TComboBox::Count() const { return static_cast<int>(SendMessageA(handle_, CB_GETCOUNT, 0, 0)); }

std::string TComboBox::Item(int index) const {
  LRESULT length = SendMessageA(handle_, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) throw Exception("List index out of bounds (" + std::to_string(index) + ")");
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(handle_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

int TComboBox::ItemIndex() const { return static_cast<int>(SendMessageA(handle_, CB_GETCURSEL, 0, 0)); }

void TComboBox::SetItemIndex(int index) { SendMessageA(handle_, CB_SETCURSEL, index, 0); }

Control::WindowClass TRadioGroup::GetWindowClass() const {
  return {"PmRadioGroup", WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, true};
}

LRESULT TRadioGroup::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    Paint();
    return 0;
  }
  return Control::HandleMessage(message, wParam, lParam);
}

void TRadioGroup::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(handle_, &paint);
  RECT area;
  GetClientRect(handle_, &area);
  HGDIOBJ oldFont = SelectObject(dc, GetFont(font_));
  TEXTMETRICA metrics;
  GetTextMetricsA(dc, &metrics);
  // An etched frame whose top line runs through the middle of the caption, as a group box has.
  RECT frame = area;
  frame.top += metrics.tmHeight / 2 - 1;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (!caption_.empty()) {
    constexpr int kCaptionLeft = 8;
    RECT caption{kCaptionLeft, 0, area.right - kCaptionLeft, metrics.tmHeight};
    DrawTextA(dc, caption_.c_str(), -1, &caption, DT_SINGLELINE | DT_CALCRECT);
    // The caption stands on the group's background, with a blank on either side of it.
    RECT gap{caption.left - 2, 0, caption.right + 2, metrics.tmHeight};
    FillRect(dc, &gap, GetSolidBrush(BackgroundColor()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, fontColor_ == kNoColor ? Colors::Black : fontColor_);
    DrawTextA(dc, caption_.c_str(), -1, &caption, DT_SINGLELINE);
  }
  SelectObject(dc, oldFont);
  EndPaint(handle_, &paint);
}

void TRadioGroup::ClearItems() { buttons_.clear(); }

void TRadioGroup::AddItem(const std::string& caption) {
  ControlSpec spec{.Kind = ControlKind::RadioButton, .Name = "", .Caption = caption.c_str(),
                   .Font = font_};
  buttons_.push_back(std::make_unique<TRadioButton>(spec));
  buttons_.back()->CreateHandle(this);
  Arrange();
}

void TRadioGroup::Arrange() {
  // The items share the room below the caption evenly, as a radio group lays them out.
  const int top = font_.Height + 4;
  const int room = height_ - top - 4;
  const int count = static_cast<int>(buttons_.size());
  for (int i = 0; i < count; ++i) {
    int itemTop = top + room * i / count;
    int itemHeight = room * (i + 1) / count - room * i / count;
    buttons_[static_cast<size_t>(i)]->SetBounds(8, itemTop, width_ - 16, itemHeight);
  }
}

int TRadioGroup::ItemIndex() const {
  for (size_t i = 0; i < buttons_.size(); ++i)
    if (buttons_[i]->Checked()) return static_cast<int>(i);
  return -1;
}

void TRadioGroup::SetItemIndex(int index) {
  for (size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->SetChecked(static_cast<int>(i) == index);
}

std::unique_ptr<Control> MakeControl(const ControlSpec& spec) {
  switch (spec.Kind) {
    case ControlKind::Label:
      if (spec.Options & kTransparent) return std::make_unique<TTransparentLabel>(spec);
      return std::make_unique<TLabel>(spec);
    case ControlKind::StaticText: return std::make_unique<TStaticText>(spec);
    case ControlKind::Panel: return std::make_unique<TPanel>(spec);
    case ControlKind::PageControl: return std::make_unique<TPageControl>(spec);
    case ControlKind::Button: return std::make_unique<TButton>(spec);
    case ControlKind::CheckBox: return std::make_unique<TCheckBox>(spec);
    case ControlKind::RadioButton: return std::make_unique<TRadioButton>(spec);
    case ControlKind::Edit: return std::make_unique<TEdit>(spec);
    case ControlKind::Memo: return std::make_unique<TMemo>(spec);
    case ControlKind::ProgressBar: return std::make_unique<TProgressBar>(spec);
    case ControlKind::ComboBox: return std::make_unique<TComboBox>(spec);
    case ControlKind::RadioGroup: return std::make_unique<TRadioGroup>(spec);
    case ControlKind::Image: {
      auto image = std::make_unique<TImage>(spec);
      image->resource_ = spec.Resource;
      return image;
    }
  }
  throw Exception(std::string("Unknown control kind of ") + spec.Name);
}

void CreateControls(Control& owner, std::span<const ControlSpec> design, ControlSet& controls) {
  for (const ControlSpec& spec : design) {
    std::unique_ptr<Control> control = MakeControl(spec);
    control->CreateHandle(spec.Parent ? &controls.Get(spec.Parent) : &owner);
    controls.Add(std::move(control));
  }
}
