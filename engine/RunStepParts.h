#pragma once
// Parts of steps that both runs' plans share.

#include <string>

#include "engine/RunActions.h"
#include "engine/RunPlan.h"

// Writes the shortcut, recorded for the run's undo. One that cannot be saved is passed over
// and what stood there before is put back: returns "<file> (<reason>)" for it, "" when it was
// saved. A shell link object that cannot be made is raised.
std::string CreateLinkOrPassOver(const TLinkSpec& link, TRunActions& actions, TRunContext& context);

// The start-menu folder of the product (made when missing, recorded for the undo) and its four
// shortcuts, when the system can tell where the programs folder is. Returns the shortcuts that
// were passed over, as CreateLinkOrPassOver does.
std::string CreateStartMenuLinks(const std::string& installDir, TShortcutRun run, TRunActions& actions,
                                 TRunContext& context);

// The journal's note of the shortcuts passed over: "" when none was.
std::string NotSavedDetail(const std::string& notSaved);
