#include "engine/Shortcuts.h"

#include <windows.h>
#include <shlobj.h>
#include <objbase.h>

#include "core/Exceptions.h"
#include "engine/Files.h"
#include "platform/ShellFolders.h"
#include "platform/SystemError.h"
#include "web/HostNames.h"

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
  // A shortcut that could not be written is a failure, not a success to go on from: the
  // installation run then skips the rest of its shortcuts, the upgrade run ends.
  HRESULT saved = file->Save(Wide(linkFile).c_str(), FALSE);
  if (FAILED(saved)) throw EFCreateError(linkFile, OleErrorText(saved));
}

void RegisterUninstall(const std::string& installDir, const std::string& key) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_WRITE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
    return;
  auto setString = [handle](const char* name, const std::string& value) {
    RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  };
  setString("DisplayName", "Pelmora P2P");
  // Quoted: unquoted, a folder with blanks ("C:\Program Files\...") lets Windows run
  // "C:\Program.exe" in the uninstaller's place.
  setString("UninstallString", "\"" + installDir + "Uninstall.Exe\"");
  RegCloseKey(handle);
}

std::string ProgramsFolder() { return ShellFolder(CSIDL_PROGRAMS); }

std::string DesktopFolder() { return ShellFolder(CSIDL_DESKTOPDIRECTORY); }

void CreateStartMenuShortcuts(const std::string& installDir, TShortcutRun run,
                              const std::string& programsFolder) {
  if (programsFolder.empty()) return;
  const std::string menu = programsFolder + "\\Pelmora P2P";
  CreateDirectoryA(menu.c_str(), nullptr);
  const std::string site = kMakerSite;
  CreateLink(installDir + "Pelmora.Exe", menu + "\\Pelmora P2P.Lnk", "Pelmora P2P", "", 0);
  CreateLink(site + "/p2p/", menu + "\\Pelmora P2P On the Web.Lnk", "Pelmora P2P On the web", "", -1);
  CreateLink(site + (run == TShortcutRun::Upgrade ? "/p2p/help/" : "/p2p/help"),
             menu + "\\Pelmora P2P Help.Lnk", "Pelmora P2P Help", "", -1);
  CreateLink(installDir + "Uninstall.Exe", menu + "\\Pelmora P2P Uninstall.Lnk",
             "Pelmora P2P Uninstall", "", 0);
}

void CreateDesktopLink(const std::string& installDir, const std::string& desktopFolder) {
  if (desktopFolder.empty()) return;
  CreateLink(installDir + "Pelmora.Exe", desktopFolder + "\\Pelmora P2P.Lnk", "Pelmora P2P", "", 0);
}
