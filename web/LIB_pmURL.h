#pragma once
// Packing of short texts (web addresses, file names): frequent fragments become two-character
// codes from a fixed dictionary, then every character becomes one to five 6-bit groups.

#include <array>
#include <string>
#include <string_view>

// The packed form: arbitrary byte values, not printable in general.
std::string EncodeURL(const std::string& text);

// The same packing with another dictionary (its first entries are set at build time and may be
// empty or short): it ends for any entries.
std::string EncodeURLWith(const std::string& text, const std::array<std::string_view, 62>& dictionary);

// Unpacks any byte string; bytes that the encoder cannot have produced give some text, never
// a failure.
std::string DecodeURL(const std::string& packed);
