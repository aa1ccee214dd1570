#pragma once
// Unpacks an embedded program to disk with progress on an optional sink.
// The payload units (GB_PelmoraP2P_exe, GB_Uninstall_exe) call it with their own tables.

#include <string>

#include "engine/PayloadInflate.h"
#include "engine/ProgressSink.h"

// Writes the program to path (an existing file is replaced). The path holds either the old
// file or the whole new program, never a part: the program is written and flushed under a
// temporary name in the same folder and then moved over the old file in one step; the
// temporary file is removed when anything fails. The sink, when given, is shown the
// progress (1024 to N x 1024 while the blocks are copied, then C + bytes written). It is shown
// a position and pending window messages are processed at the display's pace (about once a
// frame, see TProgressPacer) and at the end, which shows the final position; without a sink the
// messages are processed all the same. A run left by a failure still shows how far it came.
// Raises EFCreateError when the file cannot be created or replaced (also when a running program
// holds the old one, before anything is written), EPayloadError ("Error") for a damaged
// stream, EInOutError with the system's code when a write fails, EOutOfMemory without memory.
void ExtractPayload(const TPayload& payload, const std::string& path, TProgressSink* sink = nullptr);
