#pragma once
// The removal list "UnInstall.dat" that the installation leaves for the uninstaller: the
// product name, then one "<" kind argument ">" line per thing to remove.

#include <string>
#include <vector>

// Every folder ends with "\". The desktop shortcut's line comes last, only when one was made.
// The mask lines ("<P" folder mask ">") name the client's data folder only when it is not the
// installation folder.
std::vector<std::string> RemovalListLines(const std::string& clientDataDir,
                                          const std::string& installDir,
                                          const std::string& appDataDir, bool desktopShortcut);
