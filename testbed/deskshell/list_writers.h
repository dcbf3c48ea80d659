// What the test bed's desktops write for the harness (deskshell_protocol.h):
// a list view's icons and an open menu, one item a line. Shared by the
// stand-in desktop and the host of the shell's own view.
#pragma once

#include <windows.h>

#include <string>

namespace deskshell {

// The caption of icon `index`, asked of the list view (which asks its parent
// for a caption it holds by callback).
std::string ItemCaption(HWND listView, int index);
// WriteLayout's lines for every icon of `listView`; the icon count, or -1.
int WriteListLayout(HWND listView, const std::string& path);
// WriteMenu's lines for `menu` and its submenus; the line count, or -1.
int WriteMenuTree(HMENU menu, const std::string& path);

} // namespace deskshell
