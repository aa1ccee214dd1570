#pragma once
// Names of new files and folders in places that others may write to (the temporary folder):
// nobody can know such a name before it is made, so nobody can plant a link under it.

#include <string>

// 32 hexadecimal digits from the system's random numbers; raises an Exception when the
// system has none to give.
std::string UnguessableName();
