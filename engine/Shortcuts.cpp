#include "engine/Shortcuts.h"

#include <windows.h>
#include <shlobj.h>
#include <objbase.h>

#include "core/Exceptions.h"
#include "engine/Files.h"
#include "platform/ShellFolders.h"
#include "platform/SystemError.h"

namespace {

// Releases a COM interface when the block that obtained it is left, also by an exception.
template <class T>
class TComPtr {
 public:
  TComPtr() = default;
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;
  ~TComPtr() {
    if (FPointer) FPointer->Release();
  }
  T* operator->() const { return FPointer; }
  void** OutVoid() { return reinterpret_cast<void**>(&FPointer); }

 private:
  T* FPointer = nullptr;
};

std::string OleErrorText(HRESULT result) {
  std::string message = SystemMessage(static_cast<unsigned long>(result));
  if (message.empty()) {
    char code[32];
    wsprintfA(code, "OLE error %08X", static_cast<unsigned>(result));
    message = code;
  }
  return message;
}

std::wstring Wide(const std::string& text) {
  int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
  wide.resize(static_cast<size_t>(length > 0 ? length - 1 : 0));
  return wide;
}

}  // namespace

void CreateLink(const std::string& target, const std::string& linkFile,
                const std::string& description, const std::string& arguments, int iconIndex) {
  TComPtr<IShellLinkA> link;
  HRESULT created = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IShellLinkA, link.OutVoid());
  if (FAILED(created)) throw Exception(OleErrorText(created));
  TComPtr<IPersistFile> file;
  HRESULT queried = link->QueryInterface(IID_IPersistFile, file.OutVoid());
  if (FAILED(queried)) throw Exception(OleErrorText(queried));

  link->SetArguments(arguments.c_str());
  link->SetDescription(description.c_str());
  link->SetPath(target.c_str());
  if (iconIndex >= 0) link->SetIconLocation(target.c_str(), iconIndex);
  // Reported apart from the failures above: a shortcut that cannot be saved is passed over by
  // the runs, which go on with the next one.
  HRESULT saved = file->Save(Wide(linkFile).c_str(), FALSE);
  if (FAILED(saved)) throw EFCreateError(linkFile, OleErrorText(saved));
}

void CreateLink(const TLinkSpec& link) {
  CreateLink(link.Target, link.File, link.Description, "", link.IconIndex);
}

void RegisterUninstall(const std::string& installDir, const std::string& key) {
  HKEY handle = nullptr;
  const LSTATUS opened = RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                         KEY_WRITE, nullptr, &handle, nullptr);
  if (opened != ERROR_SUCCESS) throw EInOutError(static_cast<int>(opened));
  LSTATUS failed = ERROR_SUCCESS;
  auto setString = [&](const char* name, const std::string& value) {
    const LSTATUS set = RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>(value.size() + 1));
    if (failed == ERROR_SUCCESS) failed = set;
  };
  setString("DisplayName", "Pelmora P2P");
  // Quoted: unquoted, a folder with blanks ("C:\Program Files\...") lets Windows run
  // "C:\Program.exe" in the uninstaller's place.
  setString("UninstallString", "\"" + installDir + "Uninstall.Exe\"");
  RegCloseKey(handle);
  if (failed != ERROR_SUCCESS) throw EInOutError(static_cast<int>(failed));
}

std::string ProgramsFolder() { return ShellFolder(CSIDL_PROGRAMS); }

std::string DesktopFolder() { return ShellFolder(CSIDL_DESKTOPDIRECTORY); }

void CreateStartMenuShortcuts(const std::string& installDir, TShortcutRun run, const std::string& programsFolder) {
  if (programsFolder.empty()) return;
  CreateDirectoryA(StartMenuFolder(programsFolder).c_str(), nullptr);
  for (const TLinkSpec& link : StartMenuLinks(installDir, run, programsFolder)) CreateLink(link);
}

void CreateDesktopLink(const std::string& installDir, const std::string& desktopFolder) {
  if (desktopFolder.empty()) return;
  CreateLink(DesktopLink(installDir, desktopFolder));
}
