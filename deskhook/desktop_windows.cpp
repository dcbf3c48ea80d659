#include "deskhook/deskhook.h"
#include "deskhook/shared_names.h"

// A null parent would make FindWindowEx search the top-level windows, so each
// link of the chain is tested before the next lookup.
HWND WINAPI GetDeskTopListView()
{
    HWND progman = FindWindowA(names::ProgmanClass, nullptr);
    if (!progman)
        return nullptr;
    HWND defView = FindWindowExA(progman, nullptr, names::DefViewClass, nullptr);
    if (!defView)
        return nullptr;
    return FindWindowExA(defView, nullptr, names::ListViewClass, nullptr);
}
