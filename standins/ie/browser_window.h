#pragma once
// The top-level window of a stand-in Internet Explorer: a real window, so that a launcher
// can bring it to the foreground and tests can see its state. It paints its address.

#include <windows.h>

#include <string>

#include "ie/control.h"

namespace iestandin {

HWND CreateBrowserWindow(const std::u16string& address, IEStandinShow show);
// The window shows a new address: its title and its painting follow.
void ShowAddress(HWND window, const std::u16string& address);

}  // namespace iestandin
