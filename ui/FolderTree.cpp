#include "ui/FolderTree.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

#include "core/Exceptions.h"
#include "core/FolderName.h"
#include "core/Text.h"

namespace {

constexpr int kIndent = 19;

int ShellIcon(const std::string& path, bool open) {
  SHFILEINFOA info{};
  UINT flags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (open ? SHGFI_OPENICON : 0);
  if (path.empty()) {
    LPITEMIDLIST computer = nullptr;
    if (FAILED(SHGetFolderLocation(nullptr, CSIDL_DRIVES, nullptr, 0, &computer))) return 0;
    SHGetFileInfoA(reinterpret_cast<LPCSTR>(computer), 0, &info, sizeof info, flags | SHGFI_PIDL);
    CoTaskMemFree(computer);
  } else {
    SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, flags);
  }
  return info.iIcon;
}

std::string ShellDisplayName(const std::string& path) {
  SHFILEINFOA info{};
  if (path.empty()) {
    LPITEMIDLIST computer = nullptr;
    if (SUCCEEDED(SHGetFolderLocation(nullptr, CSIDL_DRIVES, nullptr, 0, &computer))) {
      SHGetFileInfoA(reinterpret_cast<LPCSTR>(computer), 0, &info, sizeof info,
                     SHGFI_PIDL | SHGFI_DISPLAYNAME);
      CoTaskMemFree(computer);
    }
    return info.szDisplayName[0] ? info.szDisplayName : "Computer";
  }
  SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME);
  return info.szDisplayName[0] ? info.szDisplayName : path;
}

// The visible subfolders of a folder, sorted by name as the shell lists them.
std::vector<std::string> SubfolderNames(const std::string& folder, bool firstOnly = false) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileExA((folder + "*").c_str(), FindExInfoBasic, &found,
                                   FindExSearchLimitToDirectories, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) || name == "." || name == "..")
      continue;
    names.push_back(name);
    if (firstOnly) break;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return LowerCase(a) < LowerCase(b); });
  return names;
}

}  // namespace

TControl::TWindowClass TFolderTree::GetWindowClass() const {
  return {WC_TREEVIEWA,
          static_cast<DWORD>(WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                             TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_NOTOOLTIPS),
          WS_EX_CLIENTEDGE};
}

void TFolderTree::AfterCreate() {
  SHFILEINFOA info{};
  auto images = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  TreeView_SetImageList(FHandle, images, TVSIL_NORMAL);
  TreeView_SetIndent(FHandle, Scaled(kIndent));
  AddHint();

  FRoot = AddItem(TVI_ROOT, "", ShellDisplayName(""));
  NodeOf(FRoot)->Loaded = true;
  DWORD drives = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(drives & (1u << i))) continue;
    std::string path = std::string(1, static_cast<char>('A' + i)) + ":\\";
    if (OnAddFolder && !OnAddFolder(path, true)) continue;
    AddItem(FRoot, path, ShellDisplayName(path));
  }
  TreeView_Expand(FHandle, FRoot, TVE_EXPAND);
}

void TFolderTree::AfterDpiChange() { TreeView_SetIndent(FHandle, Scaled(kIndent)); }

void TFolderTree::AddHint() {
  if (FCaption.empty()) return;
  HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, FHandle, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = FHandle;
  tool.uId = reinterpret_cast<UINT_PTR>(FHandle);
  tool.lpszText = FCaption.data();
  SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

HTREEITEM TFolderTree::AddItem(HTREEITEM parent, const std::string& path, const std::string& text) {
  FNodes.push_back(std::make_unique<TNode>(TNode{path}));
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
  insert.item.pszText = const_cast<char*>(text.c_str());
  insert.item.lParam = reinterpret_cast<LPARAM>(FNodes.back().get());
  // Icons and whether a folder has subfolders are asked for when the item is drawn.
  insert.item.iImage = I_IMAGECALLBACK;
  insert.item.iSelectedImage = I_IMAGECALLBACK;
  insert.item.cChildren = I_CHILDRENCALLBACK;
  return reinterpret_cast<HTREEITEM>(
      SendMessageA(FHandle, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

TFolderTree::TNode* TFolderTree::NodeOf(HTREEITEM item) const {
  TVITEMA data{};
  data.mask = TVIF_PARAM;
  data.hItem = item;
  if (!item || !SendMessageA(FHandle, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) return nullptr;
  return reinterpret_cast<TNode*>(data.lParam);
}

void TFolderTree::LoadChildren(HTREEITEM item) {
  TNode* node = NodeOf(item);
  if (!node || node->Loaded) return;
  node->Loaded = true;
  std::string folder = WithBackslash(node->Path);
  SendMessageA(FHandle, WM_SETREDRAW, FALSE, 0);
  for (const std::string& name : SubfolderNames(folder)) {
    std::string path = folder + name;
    if (OnAddFolder && !OnAddFolder(path, true)) continue;
    AddItem(item, path, name);
  }
  SendMessageA(FHandle, WM_SETREDRAW, TRUE, 0);
}

void TFolderTree::FillDisplayInfo(NMTVDISPINFOA& info) {
  TNode* node = reinterpret_cast<TNode*>(info.item.lParam);
  if (!node) return;
  if (info.item.mask & TVIF_IMAGE) info.item.iImage = ShellIcon(node->Path, false);
  if (info.item.mask & TVIF_SELECTEDIMAGE) info.item.iSelectedImage = ShellIcon(node->Path, true);
  if (info.item.mask & TVIF_CHILDREN)
    info.item.cChildren = node->Path.empty() || !SubfolderNames(WithBackslash(node->Path), true).empty();
}

LRESULT TFolderTree::OnNotify(const NMHDR& header) {
  switch (header.code) {
    case TVN_GETDISPINFOA:
      FillDisplayInfo(*reinterpret_cast<NMTVDISPINFOA*>(const_cast<NMHDR*>(&header)));
      return 0;
    case TVN_ITEMEXPANDINGA: {
      const auto& view = reinterpret_cast<const NMTREEVIEWA&>(header);
      if (view.action & TVE_EXPAND) LoadChildren(view.itemNew.hItem);
      return FALSE;
    }
    case TVN_SELCHANGEDA:
      if (OnChange) OnChange(*this);
      return 0;
    case NM_RCLICK:
      SelectUnderMouse();
      return TRUE;  // handled: no context menu
  }
  return 0;
}

void TFolderTree::SelectUnderMouse() {
  TVHITTESTINFO hit{};
  GetCursorPos(&hit.pt);
  ScreenToClient(FHandle, &hit.pt);
  HTREEITEM item = TreeView_HitTest(FHandle, &hit);
  if (item) TreeView_SelectItem(FHandle, item);
}

HTREEITEM TFolderTree::Selected() const { return TreeView_GetSelection(FHandle); }

std::string TFolderTree::SelectedPath() const {
  TNode* node = NodeOf(Selected());
  return node ? node->Path : std::string();
}

std::string TFolderTree::ItemText(HTREEITEM item) const {
  char text[MAX_PATH] = "";
  TVITEMA data{};
  data.mask = TVIF_TEXT;
  data.hItem = item;
  data.pszText = text;
  data.cchTextMax = sizeof text;
  SendMessageA(FHandle, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  return text;
}

void TFolderTree::MakeVisible(HTREEITEM item) { TreeView_EnsureVisible(FHandle, item); }

HTREEITEM TFolderTree::FindChild(HTREEITEM parent, const std::string& path) {
  LoadChildren(parent);
  std::string wanted = LowerCase(path);
  for (HTREEITEM child = TreeView_GetChild(FHandle, parent); child;
       child = TreeView_GetNextSibling(FHandle, child)) {
    if (LowerCase(NodeOf(child)->Path) == wanted) return child;
  }
  return nullptr;
}

std::vector<std::string> TFolderTree::ChildPaths(HTREEITEM item) {
  HTREEITEM parent = item ? item : FRoot;
  LoadChildren(parent);
  std::vector<std::string> paths;
  for (HTREEITEM child = TreeView_GetChild(FHandle, parent); child;
       child = TreeView_GetNextSibling(FHandle, child))
    paths.push_back(NodeOf(child)->Path);
  return paths;
}

void TFolderTree::SelectPath(const std::string& path) {
  if (path.size() < 3 || path[1] != ':' || path[2] != '\\')
    throw Exception("The folder \"" + path + "\" is not in the folder tree");
  HTREEITEM item = FindChild(FRoot, path.substr(0, 3));
  std::string walked = path.substr(0, 3);
  size_t start = 3;
  while (item && start < path.size()) {
    size_t end = path.find('\\', start);
    std::string name = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
    start = end == std::string::npos ? path.size() : end + 1;
    if (name.empty()) continue;
    walked = WithBackslash(walked) + name;
    TreeView_Expand(FHandle, item, TVE_EXPAND);
    item = FindChild(item, walked);
  }
  if (!item) throw Exception("The folder \"" + path + "\" is not in the folder tree");
  TreeView_SelectItem(FHandle, item);
}
