#include "platform/InstallerLock.h"

#include <windows.h>

namespace {

constexpr char kLockName[] = "Global\\PelmoraP2PSetup";

HANDLE& LockHandle() {
  static HANDLE handle = nullptr;
  return handle;
}

}  // namespace

bool AcquireInstallerLock(unsigned long waitMs) {
  HANDLE& handle = LockHandle();
  if (handle) return true;
  const HANDLE mutex = CreateMutexA(nullptr, FALSE, kLockName);
  if (!mutex) return false;
  // A holder that ended without releasing it leaves it abandoned, which is as good as free.
  const DWORD waited = WaitForSingleObject(mutex, waitMs);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    CloseHandle(mutex);
    return false;
  }
  handle = mutex;
  return true;
}

void ReleaseInstallerLock() {
  HANDLE& handle = LockHandle();
  if (!handle) return;
  ReleaseMutex(handle);
  CloseHandle(handle);
  handle = nullptr;
}
