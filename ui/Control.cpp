#include "ui/Control.h"

#include <set>

#include "core/Exceptions.h"
#include "ui/Application.h"
#include "ui/Fonts.h"

namespace {

const char kControlProperty[] = "PelmoraControl";

void RegisterOwnClass(const char* name, WNDPROC windowProc) {
  static std::set<std::string> registered;
  if (!registered.insert(name).second) return;
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = name;
  RegisterClassExA(&windowClass);
}

}  // namespace

Control::Control(const ControlSpec& spec)
    : name_(spec.Name),
      caption_(spec.Caption),
      left_(spec.Left),
      top_(spec.Top),
      width_(spec.Width),
      height_(spec.Height),
      color_(spec.Color),
      fontColor_(spec.FontColor),
      font_(spec.Font),
      options_(spec.Options) {}

Control::~Control() {
  if (handle_ && IsWindow(handle_)) {
    RemovePropA(handle_, kControlProperty);
    DestroyWindow(handle_);
  }
}

Control* Control::FromHandle(HWND handle) {
  return handle ? static_cast<Control*>(GetPropA(handle, kControlProperty)) : nullptr;
}

void Control::CreateHandle(Control* parent, HWND owner) {
  parent_ = parent;
  WindowClass windowClass = GetWindowClass();
  if (windowClass.Own) RegisterOwnClass(windowClass.Name, &Control::WindowProc);
  DWORD style = windowClass.Style | (parent ? WS_CHILD : 0);
  handle_ = CreateWindowExA(windowClass.ExStyle, windowClass.Name, caption_.c_str(), style, left_,
                            top_, width_, height_, parent ? parent->Handle() : owner, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  if (!handle_) throw Exception("Cannot create the window " + name_);
  // Messages sent during creation run the default handling: the control is not bound yet.
  SetPropA(handle_, kControlProperty, this);
  SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont(font_)), FALSE);
  AfterCreate();
}

LRESULT CALLBACK Control::WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Control* control = FromHandle(handle);
  if (!control) return DefWindowProcA(handle, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    RemovePropA(handle, kControlProperty);
    control->handle_ = nullptr;
    return DefWindowProcA(handle, message, wParam, lParam);
  }
  return Guarded(handle, [&] { return control->HandleMessage(message, wParam, lParam); });
}

LRESULT Control::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  bool handled = false;
  LRESULT result = RouteToChild(message, wParam, lParam, handled);
  if (handled) return result;
  switch (message) {
    case WM_ERASEBKGND: {
      RECT area;
      GetClientRect(handle_, &area);
      FillBackground(reinterpret_cast<HDC>(wParam), area);
      return 1;
    }
    case WM_LBUTTONUP:
      if (OnClick) OnClick(*this);
      return 0;
    case WM_GETFONT:
      // As the system's controls answer it: what the control draws its caption in can be read.
      return reinterpret_cast<LRESULT>(GetFont(font_));
  }
  return DefaultHandler(message, wParam, lParam);
}

LRESULT Control::RouteToChild(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (Control* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
        handled = true;
        return reinterpret_cast<LRESULT>(child->OnCtlColor(reinterpret_cast<HDC>(wParam)));
      }
      break;
    case WM_COMMAND:
      if (Control* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
        handled = true;
        child->OnCommand(HIWORD(wParam));
        return 0;
      }
      break;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (Control* child = FromHandle(item->hwndItem)) {
        handled = child->OnDrawItem(*item);
        return handled;
      }
      break;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (Control* child = FromHandle(header->hwndFrom)) {
        handled = true;
        return child->OnNotify(*header);
      }
      break;
    }
    case WM_SETCURSOR:
      if (Control* child = FromHandle(reinterpret_cast<HWND>(wParam));
          child && child != this && child->HasOption(kHandCursor)) {
        handled = true;
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
  }
  return 0;
}

LRESULT Control::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(handle_, message, wParam, lParam);
}

HBRUSH Control::OnCtlColor(HDC dc) {
  SetTextColor(dc, fontColor_ == kNoColor ? Colors::Black : fontColor_);
  SetBkColor(dc, BackgroundColor());
  SetBkMode(dc, TRANSPARENT);
  return GetSolidBrush(BackgroundColor());
}

void Control::OnCommand(WORD code) {
  if ((code == BN_CLICKED || code == STN_CLICKED) && OnClick) OnClick(*this);
}

void Control::FillBackground(HDC dc, const RECT& area) const {
  FillRect(dc, &area, GetSolidBrush(BackgroundColor()));
}

COLORREF Control::BackgroundColor() const {
  if (color_ != kNoColor && !HasOption(kTransparent)) return color_;
  if (parent_) return parent_->BackgroundColor();
  return GetSysColor(COLOR_BTNFACE);
}

void Control::SetBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (handle_) MoveWindow(handle_, left, top, width, height, TRUE);
}

std::string Control::Caption() const {
  if (!handle_) return caption_;
  // Read from the window: the user may have changed it (edit boxes).
  int length = GetWindowTextLengthA(handle_);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  GetWindowTextA(handle_, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

void Control::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (handle_) {
    SetWindowTextA(handle_, caption.c_str());
    InvalidateRect(handle_, nullptr, TRUE);
  }
}

bool Control::Visible() const { return handle_ && (GetWindowLongA(handle_, GWL_STYLE) & WS_VISIBLE); }

void Control::SetVisible(bool visible) {
  if (handle_) ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
}

void Control::SetColor(COLORREF color) {
  color_ = color;
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void Control::SetFontColor(COLORREF color) {
  fontColor_ = color;
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void Control::SetFont(const FontSpec& font) {
  font_ = font;
  if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont(font_)), TRUE);
}
