#pragma once
// The upgrade run as a plan: the installation folder, a wait for the client that started an
// unattended upgrade, the client program (tried again while a running client holds it), the
// uninstaller and the start-menu shortcuts. The earlier programs and shortcuts are kept under
// new names in their folders until the run has ended, so that a failure puts them back.

#include <functional>
#include <string>

#include "engine/RunActions.h"
#include "engine/RunPlan.h"

inline constexpr int kUpgradeAttempts = 21;
// Seconds waited after an attempt that found the client running, and before the first one in
// unattended mode (time for the client that started the upgrade to end).
inline constexpr int kRetryWaitSeconds = 15;
inline constexpr int kUnattendedWaitSeconds = 3;

// "Pelmora P2P is still running ... (Attempt N)".
std::string RetryNotice(int attempt);

// Shows the retry notice; an empty text clears it.
using TNoticeEvent = std::function<void(const std::string& text)>;

// installDir ends in "\". secondMs is the length of one second of its waits. Only a client
// program that a running program holds is tried again; any other failure ends the run at once,
// and so does the last attempt's. The actions must outlive the plan.
TRunPlan UpgradePlan(const std::string& installDir, bool autoUpdate, TRunActions& actions,
                     const TNoticeEvent& showNotice, unsigned secondMs, long long payloadTotal);
