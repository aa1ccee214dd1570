#include "tests/driver/Accessibility.h"

#include <oleacc.h>

namespace {

std::string Narrow(BSTR text) {
  if (!text) return {};
  const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(length > 0 ? length : 1), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), length, nullptr, nullptr);
  narrow.resize(narrow.size() - 1);
  SysFreeString(text);
  return narrow;
}

}  // namespace

bool ReadAccessible(HWND window, AccessibleFacts& facts) {
  // The object of another process comes through COM; the thread joins it once and stays.
  static thread_local const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  (void)com;
  IAccessible* accessible = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&accessible))) ||
      !accessible)
    return false;
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  facts = {};
  BSTR text = nullptr;
  if (accessible->get_accName(self, &text) == S_OK) facts.Name = Narrow(text);
  text = nullptr;
  if (accessible->get_accValue(self, &text) == S_OK) facts.Value = Narrow(text);
  text = nullptr;
  if (accessible->get_accKeyboardShortcut(self, &text) == S_OK) facts.KeyboardShortcut = Narrow(text);
  text = nullptr;
  if (accessible->get_accDefaultAction(self, &text) == S_OK) facts.DefaultAction = Narrow(text);
  VARIANT role{};
  if (accessible->get_accRole(self, &role) == S_OK && role.vt == VT_I4) facts.Role = role.lVal;
  VARIANT state{};
  if (accessible->get_accState(self, &state) == S_OK && state.vt == VT_I4) facts.State = state.lVal;
  accessible->Release();
  return true;
}

std::string RoleText(long role) {
  char text[128] = "";
  GetRoleTextA(static_cast<DWORD>(role), text, sizeof text);
  return text;
}

std::ostream& operator<<(std::ostream& out, const AccessibleFacts& facts) {
  out << RoleText(facts.Role) << " \"" << facts.Name << "\"";
  if (!facts.Value.empty()) out << " value \"" << facts.Value << "\"";
  if (!facts.KeyboardShortcut.empty()) out << " key " << facts.KeyboardShortcut;
  return out;
}
