// The identifiers of the COM classes and interfaces that the programs ask for, defined here from
// the system headers' own (__uuidof): the system library defines them all in one piece, and
// taking one of its identifiers brings some 40 KB of others along. An identifier not defined
// here still comes from the system library, so a new one only costs size until it is added.
#include <windows.h>
#include <objidl.h>
#include <shobjidl.h>

extern "C" {
const CLSID CLSID_ShellLink = __uuidof(ShellLink);
const IID IID_IShellLinkA = __uuidof(IShellLinkA);
const IID IID_IPersistFile = __uuidof(IPersistFile);
}
