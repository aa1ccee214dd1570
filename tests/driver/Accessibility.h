#pragma once
// What a screen reader learns of a window through the system's accessibility interface
// (IAccessible of its client area, asked with AccessibleObjectFromWindow), from any process.

#include <windows.h>

#include <ostream>
#include <string>

struct AccessibleFacts {
  std::string Name;
  long Role = 0;  // ROLE_SYSTEM_...
  std::string Value;
  long State = 0;  // STATE_SYSTEM_...
  std::string KeyboardShortcut;
  std::string DefaultAction;
  bool operator==(const AccessibleFacts&) const = default;
};

// The facts of window's client area; false when the window gives no accessible object.
bool ReadAccessible(HWND window, AccessibleFacts& facts);

// The system's text for a role ("push button").
std::string RoleText(long role);

std::ostream& operator<<(std::ostream& out, const AccessibleFacts& facts);
