#pragma once
// Packing of short texts (web addresses, file names): frequent fragments become two-character
// codes from a fixed dictionary, then every character becomes one to five 6-bit groups.

#include <string>

// The packed form: arbitrary byte values, not printable in general.
std::string EncodeURL(const std::string& text);

// Unpacks any byte string; bytes that the encoder cannot have produced give some text, never
// a failure.
std::string DecodeURL(const std::string& packed);
