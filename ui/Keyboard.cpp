#include "ui/Keyboard.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

namespace {

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

LONG ButtonType(HWND window) {
  if (lstrcmpiA(ClassOf(window).c_str(), "Button") != 0) return -1;
  return GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK;
}

bool IsRadioButton(HWND window) {
  const LONG type = ButtonType(window);
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

bool IsPushButton(HWND window) {
  const LONG type = ButtonType(window);
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
}

bool StartsGroup(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_GROUP) != 0; }

bool CanTakeFocus(HWND window) { return IsWindowVisible(window) && IsWindowEnabled(window); }

// The radio buttons of the group that window belongs to, in their order.
std::vector<HWND> RadioGroupOf(HWND window) {
  HWND first = window;
  while (!StartsGroup(first)) {
    HWND previous = GetWindow(first, GW_HWNDPREV);
    if (!previous || !IsRadioButton(previous)) break;
    first = previous;
  }
  std::vector<HWND> group;
  for (HWND member = first; member && IsRadioButton(member); member = GetWindow(member, GW_HWNDNEXT)) {
    if (member != first && StartsGroup(member)) break;
    if (CanTakeFocus(member)) group.push_back(member);
  }
  return group;
}

// The member of a radio group that Tab stops at.
HWND GroupStop(const std::vector<HWND>& group) {
  for (HWND member : group)
    if (SendMessageA(member, BM_GETCHECK, 0, 0) == BST_CHECKED) return member;
  return group.empty() ? nullptr : group.front();
}

void CollectTabStops(HWND parent, std::vector<HWND>& stops) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!CanTakeFocus(child)) continue;
    if (IsRadioButton(child)) {
      const std::vector<HWND> group = RadioGroupOf(child);
      if (!group.empty() && child == group.front()) stops.push_back(GroupStop(group));
      continue;
    }
    if (GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) stops.push_back(child);
    if (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) CollectTabStops(child, stops);
  }
}

bool IsInput(HWND window) {
  const std::string windowClass = ClassOf(window);
  if (lstrcmpiA(windowClass.c_str(), "Edit") == 0) return !(GetWindowLongA(window, GWL_STYLE) & ES_READONLY);
  const LONG type = ButtonType(window);
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE ||
         IsRadioButton(window) || lstrcmpiA(windowClass.c_str(), "ComboBox") == 0 ||
         lstrcmpiA(windowClass.c_str(), WC_TREEVIEWA) == 0;
}

// Focuses a control as Tab does: the text of an edit box that can be typed in is selected, so
// that typing replaces it.
void FocusControl(HWND control) {
  SetFocus(control);
  if (lstrcmpiA(ClassOf(control).c_str(), "Edit") == 0 && !(GetWindowLongA(control, GWL_STYLE) & ES_READONLY))
    SendMessageA(control, EM_SETSEL, 0, -1);
}

void MoveByTab(HWND window, bool backwards) {
  const std::vector<HWND> stops = TabStops(window);
  if (stops.empty()) return;
  HWND focus = GetFocus();
  // On a radio button the focus stands for its whole group.
  if (focus && IsRadioButton(focus)) focus = GroupStop(RadioGroupOf(focus));
  const auto at = std::find(stops.begin(), stops.end(), focus);
  const size_t count = stops.size();
  size_t next;
  if (at == stops.end())
    next = backwards ? count - 1 : 0;
  else
    next = (static_cast<size_t>(at - stops.begin()) + (backwards ? count - 1 : 1)) % count;
  FocusControl(stops[next]);
}

void MoveInRadioGroup(HWND focus, bool backwards) {
  const std::vector<HWND> group = RadioGroupOf(focus);
  const auto at = std::find(group.begin(), group.end(), focus);
  if (group.size() < 2 || at == group.end()) return;
  const size_t count = group.size();
  HWND next = group[(static_cast<size_t>(at - group.begin()) + (backwards ? count - 1 : 1)) % count];
  SetFocus(next);
  // A click, as the mouse gives: the button is selected, the others of its group are cleared,
  // and the page hears of it.
  SendMessageA(next, BM_CLICK, 0, 0);
}

}  // namespace

void PlaceInKeyboardGroup(HWND control) {
  // Only a radio button looks at its neighbour, and only a change is written: each call to the
  // window system is a round trip, for every control the pages make.
  const bool joins = IsRadioButton(control) && IsRadioButton(GetWindow(control, GW_HWNDPREV));
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  const LONG placed = joins ? style & ~WS_GROUP : style | WS_GROUP;
  if (placed != style) SetWindowLongA(control, GWL_STYLE, placed);
}

std::vector<HWND> TabStops(HWND window) {
  std::vector<HWND> stops;
  CollectTabStops(window, stops);
  return stops;
}

HWND FirstInput(HWND container) {
  for (HWND stop : TabStops(container))
    if (IsInput(stop)) return stop;
  return nullptr;
}

bool HandleDialogKey(HWND window, const MSG& message) {
  if (message.message != WM_KEYDOWN || !window || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
    return false;
  HWND focus = GetFocus();
  switch (message.wParam) {
    case VK_TAB:
      MoveByTab(window, GetKeyState(VK_SHIFT) < 0);
      return true;
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
      if (!focus || !IsRadioButton(focus) || !IsChild(window, focus)) return false;
      MoveInRadioGroup(focus, message.wParam == VK_UP || message.wParam == VK_LEFT);
      return true;
    case VK_RETURN:
      if (!focus || !IsPushButton(focus) || !IsChild(window, focus)) return false;
      // A key held down presses the button once.
      if (!(message.lParam & (1 << 30))) SendMessageA(focus, BM_CLICK, 0, 0);
      return true;
  }
  return false;
}

bool ControlTakesEnter(HWND control) {
  return control && lstrcmpiA(ClassOf(control).c_str(), "ComboBox") == 0 &&
         SendMessageA(control, CB_GETDROPPEDSTATE, 0, 0);
}

void TFocusKeeper::Focus(HWND window, HWND control) {
  FControl = control == window ? nullptr : control;
  // Sent to the window and by it to every control, those made since the last time included.
  SendMessageA(window, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  if (GetActiveWindow() != window) return;
  if (FControl)
    FocusControl(FControl);
  else
    SetFocus(window);
}

bool TFocusKeeper::HandleMessage(HWND window, UINT message, WPARAM wParam) {
  const bool kept = FControl && IsWindow(FControl) && IsChild(window, FControl) && IsWindowVisible(FControl);
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window, focus)) FControl = focus;
        return false;
      }
      if (!kept || HIWORD(wParam)) return false;
      SetFocus(FControl);
      return true;
    case WM_SETFOCUS:
      if (!kept) return false;
      SetFocus(FControl);
      return true;
  }
  return false;
}
