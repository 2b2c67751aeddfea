#pragma once
// The Internet Explorer stand-in's test control interface: exports beside the COM server's
// own, through which tests script the shell's windows, make calls fail and read what was
// done. Tests resolve them from the loaded library by name.
//
// The shell's window collection is a list of entries, indexed from 0 in the order they
// were added; Internet Explorer instances that the stand-in creates are appended to it, as
// the real browser registers its windows with the shell.
//
// The record holds one line per call of a launcher ("Count 2", "Item 0", "LocationURL 0",
// "InternetExplorer 2", "Visible 2 true", "HWND 2", "Foreground 2" when a browser's window
// became the active one, "Navigate2 2 <address>"); a failed call is recorded as
// "<call> failed 0x8XXXXXXX". When the environment variable IE_STANDIN_LOG names a file,
// every line is also appended to it (UTF-8), for readers in other processes.
//
// A process that cannot call this interface (the program itself) scripts its windows with
// the environment variable IE_STANDIN_WINDOWS: entries "kind:address" separated by "|",
// kind one of browser, minimised, hidden (browsers shown so), folder (no web browser),
// empty, noapp (a browser refusing IWebBrowserApp); for example
// "folder:C:\Users|browser:http://www.g2b.go.kr/index.jsp".
//
// Names of calls that `iestandin_fail_next` makes fail: "ShellWindows" (creating the
// collection), "IShellWindows" (the collection's interface), "Count", "Item",
// "LocationURL", "InternetExplorer" (creating the browser), "IWebBrowser2" (a created
// browser refuses the interface), "Visible" (setting it), "HWND", "Navigate2".

#include <cstdint>

// What a window entry of the collection is.
enum IEStandinEntryKind : int32_t {
  kIEStandinBrowser = 0,            // an Internet Explorer window
  kIEStandinNotBrowser = 1,         // a shell window that is no web browser (IDispatch only)
  kIEStandinEmpty = 2,              // an entry without an object: Item answers S_FALSE and null
  kIEStandinBrowserWithoutApp = 3,  // a browser that refuses IWebBrowserApp
};

// How a browser's top-level window is shown when it is added.
enum IEStandinShow : int32_t {
  kIEStandinHidden = 0,
  kIEStandinShown = 1,
  kIEStandinMinimised = 2,
};

// Parts of the registration (flags).
enum IEStandinParts : int32_t {
  kIEStandinShellWindowsClass = 1,
  kIEStandinBrowserClass = 2,
  kIEStandinProgId = 4,
  kIEStandinAllParts = 7,
};

#define IESTANDIN_CONTROL_FUNCTIONS(X)                                                           \
  /* Closes every window and forgets the entries, the record, failures and errors; then adds  \
     the entries that IE_STANDIN_WINDOWS names, as the first use of the stand-in does. */      \
  X(void, iestandin_reset, (void))                                                               \
  /* Appends an entry; answers its index. The address matters for browsers only. */              \
  X(int32_t, iestandin_add_entry, (int32_t kind, const char16_t* address, int32_t show))          \
  X(int32_t, iestandin_entry_count, (void))                                                      \
  /* A browser's top-level window (an HWND), null for other entries. */                         \
  X(void*, iestandin_entry_window, (int32_t index))                                              \
  /* A browser's Visible property: 1 or 0, -1 for other entries. */                             \
  X(int32_t, iestandin_entry_visible, (int32_t index))                                           \
  /* A browser's current address into buffer (NUL-terminated when it fits); answers the        \
     length, -1 for other entries. */                                                           \
  X(int32_t, iestandin_entry_address, (int32_t index, char16_t* buffer, int32_t size))           \
  X(int32_t, iestandin_navigation_count, (int32_t index))                                        \
  /* The next `times` calls of that name answer `result` (an HRESULT) instead. */               \
  X(void, iestandin_fail_next, (const char* call, int32_t times, int32_t result))                \
  /* The record, lines ending in "\n"; answers the length. */                                   \
  X(int32_t, iestandin_record, (char16_t* buffer, int32_t size))                                 \
  /* Misuse found (wrong argument types, say), lines ending in "\n"; answers the length. */     \
  X(int32_t, iestandin_errors, (char16_t* buffer, int32_t size))                                 \
  /* COM objects of the stand-in alive now (class objects not counted). */                      \
  X(int32_t, iestandin_live_objects, (void))                                                     \
  /* Registers or removes parts of the server (IEStandinParts); answer an HRESULT. */           \
  X(int32_t, iestandin_register, (int32_t parts))                                                \
  X(int32_t, iestandin_unregister, (int32_t parts))

// The class of the stand-in's Internet Explorer, which "InternetExplorer.Application"
// names once the server is registered.
#define IESTANDIN_BROWSER_CLSID_TEXT u"{6A5F0C3E-1B7D-4E52-9C1A-3F2E8D4B7A10}"
