// The identifiers of the COM classes and interfaces that the programs ask for, defined here from
// the system headers' own (__uuidof): the system library defines them all in one piece, and
// taking one of its identifiers brings some 40 KB of others along. An identifier not defined
// here still comes from the system library, so a new one only costs size until it is added.
#include <windows.h>
#include <exdisp.h>
#include <objidl.h>
#include <oleidl.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shobjidl.h>

extern "C" {
const CLSID CLSID_ShellLink = __uuidof(ShellLink);
const IID IID_IShellLinkA = __uuidof(IShellLinkA);
const IID IID_IPersistFile = __uuidof(IPersistFile);
// The interfaces that the controls answer screen readers with.
const IID IID_IUnknown = __uuidof(IUnknown);
const IID IID_IDispatch = __uuidof(IDispatch);
const IID IID_IOleWindow = __uuidof(IOleWindow);
// The desktop shell's own route to start a program as the user.
const CLSID CLSID_ShellWindows = __uuidof(ShellWindows);
const IID IID_IShellWindows = __uuidof(IShellWindows);
const IID IID_IServiceProvider = __uuidof(IServiceProvider);
const IID IID_IShellBrowser = __uuidof(IShellBrowser);
const IID IID_IShellFolderViewDual = __uuidof(IShellFolderViewDual);
const IID IID_IShellDispatch2 = __uuidof(IShellDispatch2);
// A service, not an interface: no __uuidof; the value is the one the system headers give.
const GUID SID_STopLevelBrowser = {0x4c96be40, 0x915c, 0x11cf, {0x99, 0xd3, 0x00, 0xaa, 0x00, 0x4a, 0xe8, 0x37}};
}
