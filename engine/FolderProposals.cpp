#include "engine/FolderProposals.h"

#include <shlobj.h>

#include "core/FolderName.h"
#include "engine/Files.h"
#include "platform/ShellFolders.h"

std::string ProposedInstallDir() {
  const std::string programFiles = ShellFolder(CSIDL_PROGRAM_FILES);
  return (programFiles.empty() ? "C:" : programFiles) + "\\Pelmora P2P";
}

std::string ProposedDownloadDir(const std::string& installDir) {
  return ProposeDownloadFolder(installDir, [](char letter) {
    const std::string root = std::string(1, letter) + ":\\";
    return IsOnFixedDisk(root) && FolderExists(root + "Downloads");
  });
}
