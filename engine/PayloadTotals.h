#pragma once
// The progress total of the installing and upgrading pages: compressed plus program length
// over both payloads, from the constants that the packer derived from this build's programs.

#include "engine/GB_PelmoraP2P_exe.h"
#include "engine/GB_Uninstall_exe.h"

inline constexpr long long kPayloadTotal = GB_PelmoraP2P_exe::C + GB_PelmoraP2P_exe::U +
                                           GB_Uninstall_exe::C + GB_Uninstall_exe::U;
