#pragma once
// The exit codes of Uninstall.Exe; README lists them.

enum TExitCode : int {
  kRemoved = 0,
  kNotAllRemoved = 1,  // something could not be removed; the message lists it
  kListRefused = 2,    // the removal list cannot be used; nothing was removed
  kDeclined = 3,       // the user said no
  kClientHeld = 4,     // the client is running; nothing was removed
  kLinkRefused = 5,    // a link stood in place of the product's files or folders; it was left alone
  kInstallerRunning = 6,  // an installer runs; nothing was removed
};
