#include "app/ui/Controls.h"

#include "app/Exceptions.h"
#include "app/ui/Fonts.h"

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
  return {"PmImage", WS_VISIBLE, 0, true};
}

void TImage::AfterCreate() {
  if (resource_ != 0)
    icon_ = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource_),
                                          IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
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
  if (icon_) DrawIconEx(dc, 0, 0, icon_, 32, 32, 0, nullptr, DI_NORMAL);
  if (bitmap_) {
    BITMAP info;
    GetObject(bitmap_, sizeof info, &info);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap_);
    if (HasOption(kStretch)) {
      SetStretchBltMode(dc, HALFTONE);
      StretchBlt(dc, 0, 0, width_, height_, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    } else {
      BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    }
    SelectObject(source, old);
    DeleteDC(source);
  }
  EndPaint(handle_, &paint);
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

Control& ControlSet::Get(const std::string& name) const {
  auto found = controls_.find(name);
  if (found == controls_.end()) throw Exception("No control named " + name);
  return *found->second;
}

std::unique_ptr<Control> MakeControl(const ControlSpec& spec) {
  switch (spec.Kind) {
    case ControlKind::Label: return std::make_unique<TLabel>(spec);
    case ControlKind::StaticText: return std::make_unique<TStaticText>(spec);
    case ControlKind::Panel: return std::make_unique<TPanel>(spec);
    case ControlKind::PageControl: return std::make_unique<TPageControl>(spec);
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
