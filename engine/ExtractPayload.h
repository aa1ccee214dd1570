#pragma once
// Unpacks an embedded program to disk with progress on an optional bar and percentage label.
// The payload units (GB_PelmoraP2P_exe, GB_Uninstall_exe) call it with their own tables.

#include <string>

#include "ui/Controls.h"
#include "engine/PayloadInflate.h"

// Writes the program to path (an existing file is replaced). The path holds either the old
// file or the whole new program, never a part: the program is written and flushed under a
// temporary name in the same folder and then moved over the old file in one step; the
// temporary file is removed when anything fails. The bar, when given, follows the
// progress (1024 to N x 1024 while the blocks are copied, then C + bytes written); the label
// shows the bar's percentage followed by "% complete", only when a bar is given too. The
// controls follow and pending window messages are processed at the display's pace (about once
// a frame, see TProgressPacer) and at the end, which shows the final position.
// Raises EFCreateError when the file cannot be created or replaced (also when a running program
// holds the old one, before anything is written), EPayloadError ("Error") for a damaged
// stream, EInOutError with the system's code when a write fails, EOutOfMemory without memory.
void ExtractPayload(const TPayload& payload, const std::string& path, TProgressBar* bar,
                    Control* label);

// The system's text for an error code, without the line break that ends it.
std::string SystemErrorText(unsigned long errorCode);
