#pragma once
// The upgrade run: replaces the client program and the uninstaller of an installation, retrying
// while the client still runs, and makes its start-menu shortcuts anew. It leaves the data
// files, the removal list, the uninstall entry and the desktop shortcut alone.

#include <functional>
#include <string>

#include "engine/RunJournal.h"
#include "engine/RunProgress.h"

inline constexpr int kUpgradeAttempts = 21;
// Seconds waited after a failed attempt, and before the first one in unattended mode (time
// for the client that started the upgrade to end).
inline constexpr int kRetryWaitSeconds = 15;
inline constexpr int kUnattendedWaitSeconds = 3;

// "Pelmora P2P is still running ... (Attempt N)".
std::string RetryNotice(int attempt);

// Shows the retry notice; an empty text clears it.
using TNoticeEvent = std::function<void(const std::string& text)>;

// The run, up to the bar at its maximum, reporting each step (each attempt at the client program
// one) to the journal. installDir ends in "\". secondMs is the length of one second of its
// waits (shortened only by tests). Raises the failure of the uninstaller or of a shortcut; a
// client program that cannot be replaced in all attempts is left whole and the run goes on.
void UpgradeRun(const std::string& installDir, bool autoUpdate, TRunProgress& progress, TRunJournal& journal,
                const TNoticeEvent& showNotice, unsigned secondMs = 1000);
