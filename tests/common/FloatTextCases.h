#pragma once
// How the data file writes numbers (FloatToText): general format with 15 significant digits,
// "." as the decimal point. One table for the native tests and for the Windows tests, where
// the digits come from the Windows program's own C library.

struct TFloatTextCase {
  double Value;
  const char* Text;
};

inline constexpr TFloatTextCase kFloatTextCases[] = {
    {0.0, "0"},
    {-0.0, "0"},
    {45000, "45000"},
    {100, "100"},
    {-2.5, "-2.5"},
    {45678.5, "45678.5"},
    {45678.5123456789, "45678.5123456789"},
    {45678.51234567891, "45678.5123456789"},
    {1.0 / 3, "0.333333333333333"},
    {0.1, "0.1"},
    {0.00001, "0.00001"},
    {0.00012345, "0.00012345"},
    {0.000001, "1E-6"},
    {999999999999999, "999999999999999"},
    {1e15, "1E15"},
    {123456789012345678.0, "1.23456789012346E17"},
};
