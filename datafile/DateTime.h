#pragma once
// Date-times as the client data file stores them: days since 30 December 1899, 00:00 local
// time, the fraction being the time of day.

// The present moment, to the millisecond.
double Now();
