#include "platform/MailLink.h"

#include <shellapi.h>

void OpenMailLink(HWND owner, const std::string& address) {
  ShellExecuteA(owner, "open", ("mailto:" + address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
