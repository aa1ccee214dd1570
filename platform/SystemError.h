#pragma once
// The system's own words for an error code, as the failure texts quote them.

#include <string>

// The system's text for an error code (a Win32 code or an HRESULT), without the line break that
// ends it; empty when the system has none.
std::string SystemMessage(unsigned long errorCode);

// SystemMessage, or "System error N" when the system has no text for the code.
std::string SystemErrorText(unsigned long errorCode);
