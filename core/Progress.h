#pragma once
// The percentage that the progress pages show: Round(position / maximum x 100), rounded to the
// nearest whole number with ties to the even one.

int PercentComplete(long long position, long long maximum);
