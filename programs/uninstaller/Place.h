#pragma once
// One of the places from which the uninstaller removes the product: the installation folder,
// the per-user data folder, the start-menu folder or the desktop. Anyone who may write there
// may have put a link in place of a file or folder of the product, and whatever the uninstaller
// deleted through it would be gone from where the link points. So it removes only what it
// reaches without a link: no folder from the place down to it is listed as a reparse point, and
// what its handle reaches is where the path says (the handle's final path). A link that the
// system opens as itself is removed itself; one that it only follows is left alone, and so is
// what it points at.

#include <windows.h>

#include <string>

enum class TRemoved {
  Done,    // removed (or, for a check, reachable without a link)
  Gone,    // not there
  Link,    // a link stands in the way: nothing was touched
  Failed,  // the system refused (Error)
};

struct TOutcome {
  TRemoved Result = TRemoved::Done;
  DWORD Error = ERROR_SUCCESS;  // Failed: the system's code
  std::string Link;             // Link: the path of the link that stands in the way
};

class TPlace {
 public:
  // The place's folder, ending with "\". Where the folder itself really is comes from its
  // parent's final path, asked once, here: a link in place of the folder itself counts.
  explicit TPlace(const std::string& folder);

  const std::string& Folder() const { return FFolder; }
  // Whether the path is the place's folder or lies below it.
  bool Holds(const std::string& path) const;

  // Whether a folder of the place (the place itself included) may be listed (Done): neither it
  // nor any folder above it up to the place is a link. Gone when there is nothing to list: the
  // folder is not there, or is a link that the system opened as itself, which goes later with
  // its folder's removal.
  TOutcome CheckFolder(const std::string& folder) const;
  // Whether a file of the place could be removed without a link in the way.
  TOutcome CheckFile(const std::string& path) const;
  TOutcome RemoveFile(const std::string& path) const;
  // Removes an empty folder of the place, the place itself included; one that still holds
  // something fails with ERROR_DIR_NOT_EMPTY.
  TOutcome RemoveFolder(const std::string& folder) const;

 private:
  // Opens what the path names for removal (Done, with the handle), after the folders on the way
  // are checked; a link that the system opened as itself is reached too.
  TOutcome Reach(const std::string& path, HANDLE& handle) const;
  // The first folder from the place down to the path's own folder that is listed as a link.
  std::string LinkOnTheWay(const std::string& path) const;

  std::string FFolder;
  std::string FFinalFolder;  // where the folder really is, ending with "\"; empty when unknown
};
