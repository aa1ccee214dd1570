#include "ui/Control.h"

#include <set>
#include <unordered_map>

#include "core/Exceptions.h"
#include "ui/Application.h"
#include "ui/Fonts.h"
#include "ui/Keyboard.h"

namespace {

// The control of each window the toolkit made. Kept in the program's own memory: a window
// property would cost a round trip to the window system for every message a control handles.
// Windows are made and destroyed on the one GUI thread only.
std::unordered_map<HWND, TControl*>& ControlsByWindow() {
  static std::unordered_map<HWND, TControl*> controls;
  return controls;
}

// The system's own procedure of each control of a system window class, kept alike.
std::unordered_map<HWND, WNDPROC>& SystemProcs() {
  static std::unordered_map<HWND, WNDPROC> procs;
  return procs;
}

// A child window without frame or scroll bars has nothing outside its client area to draw: the
// default handling of WM_NCPAINT would still ask the window system for a device context, for
// every control shown, and these are most of them.
bool DrawsNoFrame(HWND window) {
  const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
  return (style & WS_CHILD) && !(style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_VSCROLL | WS_HSCROLL)) &&
         !(exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME));
}

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

TControl::TControl(const TControlSpec& spec)
    : FName(spec.Name),
      FCaption(spec.Caption),
      FDescription(spec.Description ? spec.Description : ""),
      FLeft(spec.Left),
      FTop(spec.Top),
      FWidth(spec.Width),
      FHeight(spec.Height),
      FColor(spec.Color),
      FFontColor(spec.FontColor),
      FFont(spec.Font),
      FOptions(spec.Options) {}

TControl::~TControl() {
  if (FHandle && IsWindow(FHandle)) {
    ControlsByWindow().erase(FHandle);
    DestroyWindow(FHandle);
  }
}

TControl* TControl::FromHandle(HWND handle) {
  if (!handle) return nullptr;
  const auto& controls = ControlsByWindow();
  const auto found = controls.find(handle);
  return found == controls.end() ? nullptr : found->second;
}

std::vector<TControl*> TControl::ControlsInside(const TControl& parent) {
  std::vector<TControl*> inside;
  for (const auto& [window, control] : ControlsByWindow())
    if (control->FParent == &parent) inside.push_back(control);
  return inside;
}

void TControl::WindowDestroyed(HWND handle) {
  auto& controls = ControlsByWindow();
  const auto found = controls.find(handle);
  if (found == controls.end()) return;
  found->second->FHandle = nullptr;
  controls.erase(found);
}

void TControl::CreateHandle(TControl* parent, HWND owner) {
  FParent = parent;
  TWindowClass windowClass = GetWindowClass();
  if (windowClass.Own) RegisterOwnClass(windowClass.Name, &TControl::WindowProc);
  DWORD style = windowClass.Style | (parent ? WS_CHILD : 0);
  if (parent) FDpi = parent->FDpi;
  FFontPixels = Scaled(FFont.Height);
  const RECT bounds = DisplayBounds();
  FHandle = CreateWindowExA(windowClass.ExStyle, windowClass.Name, FCaption.c_str(), style,
                            bounds.left, bounds.top, bounds.right - bounds.left,
                            bounds.bottom - bounds.top, parent ? parent->Handle() : owner, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  if (!FHandle) throw Exception("Cannot create the window " + FName);
  // Messages sent during creation run the default handling: the control is not bound yet.
  ControlsByWindow()[FHandle] = this;
  if (!windowClass.Own) {
    SystemProcs()[FHandle] = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(FHandle, GWLP_WNDPROC));
    SetWindowLongPtrA(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SystemClassProc));
  }
  if (parent) PlaceInKeyboardGroup(FHandle);
  SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
  AfterCreate();
  FitCaptionFont(false);
}

RECT TControl::DisplayBounds() const {
  if (!FParent) return {FLeft, FTop, FLeft + FWidth, FTop + FHeight};
  const TPixelSpan across = ScaleSpan(FLeft, FWidth, FDpi);
  const TPixelSpan down = ScaleSpan(FTop, FHeight, FDpi);
  return {across.Start, down.Start, across.Start + across.Length, down.Start + down.Length};
}

void TControl::ChangeDpi(int dpi) {
  FDpi = dpi;
  FFontPixels = Scaled(FFont.Height);
  if (!FHandle) return;
  if (FParent) {
    const RECT bounds = DisplayBounds();
    MoveWindow(FHandle, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, FALSE);
  }
  SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
  for (HWND child = GetWindow(FHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (TControl* control = FromHandle(child)) control->ChangeDpi(dpi);
  AfterDpiChange();
  FitCaptionFont(false);
  InvalidateRect(FHandle, nullptr, TRUE);
}

HFONT TControl::FontHandle() const { return GetFont(FFont, FDpi, FFontPixels); }

bool TControl::CaptionRoom(HDC, RECT&, UINT&) const { return false; }

void TControl::ClipToParent(RECT& area) const {
  // The parts of a main window (header, page area, bar) slide out of its view and back: what
  // cuts a text off for good is the panel or page that holds it.
  if (!FParent || !FParent->FParent) return;
  RECT parent;
  GetClientRect(FParent->Handle(), &parent);
  MapWindowPoints(FParent->Handle(), FHandle, reinterpret_cast<POINT*>(&parent), 2);
  IntersectRect(&area, &area, &parent);
}

void TControl::FitCaptionFont(bool force) {
  const HFONT before = FontHandle();
  FFontPixels = Scaled(FFont.Height);
  if (!FHandle) return;
  if (FDpi != kDesignDpi) {
    HDC dc = GetDC(FHandle);
    HGDIOBJ old = SelectObject(dc, FontHandle());
    RECT room;
    UINT format;
    const std::string text = CaptionRoom(dc, room, format) ? Caption() : std::string();
    auto fits = [&] {
      if (!CaptionRoom(dc, room, format)) return true;
      ClipToParent(room);
      // A control not laid out yet has no room to fit in.
      if (IsRectEmpty(&room)) return true;
      // Lines that the caption breaks itself stand whole, each on a line of its own.
      if (text.find_first_of("\r\n") != std::string::npos) format &= ~static_cast<UINT>(DT_WORDBREAK);
      RECT needed{0, 0, room.right - room.left, 0};
      DrawTextA(dc, text.c_str(), -1, &needed, format | DT_CALCRECT);
      return needed.right - needed.left <= room.right - room.left && needed.bottom - needed.top <= room.bottom - room.top;
    };
    while (!text.empty() && FFontPixels > FFont.Height && !fits()) {
      --FFontPixels;
      SelectObject(dc, FontHandle());
    }
    SelectObject(dc, old);
    ReleaseDC(FHandle, dc);
  }
  if (force || FontHandle() != before) SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), TRUE);
}

LRESULT CALLBACK TControl::WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  TControl* control = FromHandle(handle);
  if (!control) return DefWindowProcA(handle, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    WindowDestroyed(handle);
    return DefWindowProcA(handle, message, wParam, lParam);
  }
  return Guarded(handle, [&] { return control->HandleMessage(message, wParam, lParam); });
}

LRESULT CALLBACK TControl::SystemClassProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto found = SystemProcs().find(handle);
  if (found == SystemProcs().end()) return DefWindowProcA(handle, message, wParam, lParam);
  const WNDPROC original = found->second;
  switch (message) {
    case WM_GETOBJECT:
      if (LRESULT answer = AnswerGetObject(handle, wParam, lParam)) return answer;
      break;
    case WM_NCPAINT:
      if (DrawsNoFrame(handle)) return 0;
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      SystemProcs().erase(handle);
      WindowDestroyed(handle);
      break;
  }
  return CallWindowProcA(original, handle, message, wParam, lParam);
}

LRESULT TControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  bool handled = false;
  LRESULT result = RouteToChild(message, wParam, lParam, handled);
  if (handled) return result;
  switch (message) {
    case WM_NCPAINT:
      if (DrawsNoFrame(FHandle)) return 0;
      break;
    case WM_ERASEBKGND: {
      RECT area;
      GetClientRect(FHandle, &area);
      FillBackground(reinterpret_cast<HDC>(wParam), area);
      return 1;
    }
    case WM_LBUTTONUP:
      if (OnClick) OnClick(*this);
      return 0;
    case WM_GETOBJECT:
      if (LRESULT answer = AnswerGetObject(FHandle, wParam, lParam)) return answer;
      break;
    case WM_GETFONT:
      // As the system's controls answer it: what the control draws its caption in can be read.
      return reinterpret_cast<LRESULT>(FontHandle());
  }
  return DefaultHandler(message, wParam, lParam);
}

LRESULT TControl::RouteToChild(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (TControl* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
        handled = true;
        return reinterpret_cast<LRESULT>(child->OnCtlColor(reinterpret_cast<HDC>(wParam)));
      }
      break;
    case WM_COMMAND:
      if (TControl* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
        handled = true;
        child->OnCommand(HIWORD(wParam));
        return 0;
      }
      break;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (TControl* child = FromHandle(item->hwndItem)) {
        handled = child->OnDrawItem(*item);
        return handled;
      }
      break;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (TControl* child = FromHandle(header->hwndFrom)) {
        handled = true;
        return child->OnNotify(*header);
      }
      break;
    }
    case WM_SETCURSOR:
      if (TControl* child = FromHandle(reinterpret_cast<HWND>(wParam));
          child && child != this && child->HasOption(kHandCursor)) {
        handled = true;
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
  }
  return 0;
}

LRESULT TControl::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(FHandle, message, wParam, lParam);
}

HBRUSH TControl::OnCtlColor(HDC dc) {
  SetTextColor(dc, FFontColor == kNoColor ? Colors::Black : FFontColor);
  SetBkColor(dc, BackgroundColor());
  SetBkMode(dc, TRANSPARENT);
  return GetSolidBrush(BackgroundColor());
}

void TControl::OnCommand(WORD code) {
  if ((code == BN_CLICKED || code == STN_CLICKED) && OnClick) OnClick(*this);
}

void TControl::FillBackground(HDC dc, const RECT& area) const {
  FillRect(dc, &area, GetSolidBrush(BackgroundColor()));
}

TAccessibleFacts TControl::AccessibleFacts() const {
  return {.Role = ROLE_SYSTEM_PANE, .Name = FDescription.empty() ? SpokenCaption(Caption()) : FDescription};
}

COLORREF TControl::BackgroundColor() const {
  if (FColor != kNoColor && !HasOption(kTransparent)) return FColor;
  if (FParent) return FParent->BackgroundColor();
  return GetSysColor(COLOR_BTNFACE);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  if (!FHandle) return;
  const RECT bounds = DisplayBounds();
  RECT before;
  GetWindowRect(FHandle, &before);
  MoveWindow(FHandle, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE);
  if (before.right - before.left != bounds.right - bounds.left || before.bottom - before.top != bounds.bottom - bounds.top)
    FitCaptionFont(false);
}

std::string TControl::Caption() const {
  if (!FHandle) return FCaption;
  // Read from the window: the user may have changed it (edit boxes).
  int length = GetWindowTextLengthA(FHandle);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  GetWindowTextA(FHandle, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

void TControl::SetCaption(const std::string& caption) {
  FCaption = caption;
  if (FHandle) {
    SetWindowTextA(FHandle, caption.c_str());
    FitCaptionFont(false);
    InvalidateRect(FHandle, nullptr, TRUE);
  }
}

bool TControl::Visible() const { return FHandle && (GetWindowLongA(FHandle, GWL_STYLE) & WS_VISIBLE); }

void TControl::SetVisible(bool visible) {
  if (FHandle) ShowWindow(FHandle, visible ? SW_SHOWNA : SW_HIDE);
}

void TControl::SetColor(COLORREF color) {
  FColor = color;
  if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
}

void TControl::SetFontColor(COLORREF color) {
  FFontColor = color;
  if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
}

void TControl::SetFont(const TFontSpec& font) {
  FFont = font;
  FitCaptionFont(true);
}
