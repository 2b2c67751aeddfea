#pragma once
// The server's registration: per user, under HKCU\Software\Classes, as a user installs a
// COM server without administrator rights. Wine's COM reads only the machine's classes,
// so there the same entries also go to HKLM\Software\Classes, replacing Wine's own
// ShellWindows server and Internet Explorer identifier; removing them leaves neither, and
// no real browser can start in that prefix.

#include <windows.h>
#include <objbase.h>

#include <cstdint>

namespace iestandin {

// The class of the stand-in's Internet Explorer.
const CLSID& BrowserClass();

// Parts are IEStandinParts flags. Both answer an HRESULT.
HRESULT Register(int32_t parts);
HRESULT Unregister(int32_t parts);

}  // namespace iestandin
