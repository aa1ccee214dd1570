#pragma once
// One installer at a time on the computer, whatever its kind (the wizard, a silent
// installation, an unattended upgrade), and the uninstaller: an installer holds a lock for the
// whole of its life, the uninstaller while it removes, and one that cannot get it changes
// nothing and says so. The lock is a named kernel
// object in the global namespace, which the system releases when its holder ends, however it
// ends, so a killed installer never leaves it held.

// Takes the lock for this process, waiting up to waitMs (INFINITE: until it is free) while
// another process holds it; false when it stays held. Taking it again in the same process gives
// true.
bool AcquireInstallerLock(unsigned long waitMs = 0);
// Gives the lock up before the process ends, for an installer that starts its successor.
void ReleaseInstallerLock();

// The message of an installer that finds the lock held.
inline constexpr char kInstallerBusyMessage[] =
    "Pelmora P2P is being installed, upgraded or removed by another program.\r"
    "Start this program again when that has ended; nothing was changed.";
