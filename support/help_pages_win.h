// Opens the page of a help or web link command through the shell.
#pragma once

#include <windows.h>

// Opens what `command` asks for (the local help page of `tabIndex` or the
// FAQ when the help folder holds it, else the web page) with "open", owned by
// `owner`. False when `command` opens no page.
bool OpenPageOfCommand(HWND owner, int command, int tabIndex);
