// Times the folder tree under Wine: how long it takes to appear, and to expand a folder with
// many subfolders.
//   bench_folder_tree <folder with many subfolders>
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/Timing.h"
#include "pages/FolderPage.h"
#include "ui/FolderTree.h"

namespace {


// A plain top-level window for the tree to live in.
class Host : public TControl {
 public:
  Host() : TControl(TControlSpec{.Name = "Host", .Width = 420, .Height = 320}) {}

 protected:
  TWindowClass GetWindowClass() const override { return {"PmBenchHost", WS_OVERLAPPEDWINDOW, 0, true}; }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: bench_folder_tree <folder with many subfolders>\n", stderr);
    return 2;
  }
  const std::string folder = argv[1];
  Host host;
  host.CreateHandle(nullptr);

  double start = Now();
  TFolderTree tree(TControlSpec{.Name = "FolderTree", .Left = 0, .Top = 0, .Width = 400, .Height = 300});
  tree.OnAddFolder = FixedDiskFilter();
  tree.CreateHandle(&host);
  ShowWindow(host.Handle(), SW_SHOW);
  UpdateWindow(host.Handle());
  double appeared = Now() - start;

  start = Now();
  tree.SelectPath(folder);
  TreeView_Expand(tree.Handle(), tree.Selected(), TVE_EXPAND);
  UpdateWindow(host.Handle());
  double expanded = Now() - start;
  std::size_t count = tree.ChildPaths(tree.Selected()).size();

  std::printf("folder tree: appears in %.0f ms; expanding %s with %zu subfolders takes %.0f ms\n",
              appeared, folder.c_str(), count, expanded);
  return 0;
}
