#pragma once
// The upgrade run: replaces the client program and the uninstaller of an installation, trying
// again while a running client holds its program, and makes its start-menu shortcuts anew, as
// the plan of engine/UpgradePlan.h says. It leaves the data files, the removal list, the
// uninstall entry and the desktop shortcut alone. A failure that ends it leaves the earlier
// version in place.

#include <string>

#include "engine/RunJournal.h"
#include "engine/RunProgress.h"
#include "engine/UpgradePlan.h"

// The length of one second of the run's waits in the installer as shipped, kept where a test can
// find it in a copy of the program and shorten it there (the tag is what it looks for).
struct TWaitSecond {
  char Tag[16];
  unsigned Milliseconds;
};
extern const volatile TWaitSecond kUpgradeWaitSecond;

// The run, up to the bar at its maximum, reporting each step (each attempt at the client program
// one) to the journal. installDir ends in "\". secondMs is the length of one second of its
// waits. Raises the failure that ends it once the earlier version is back in place: any failure
// but a client that still runs, and that one too after the last attempt.
void UpgradeRun(const std::string& installDir, bool autoUpdate, TRunProgress& progress, TRunJournal& journal,
                const TNoticeEvent& showNotice, unsigned secondMs = kUpgradeWaitSecond.Milliseconds);
