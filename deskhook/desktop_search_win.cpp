// Finding the desktop view window in the places of desktop_search.h.
#include "deskhook/desktop_search.h"

#include "deskhook/deskhook.h"
#include "deskhook/shared_names.h"

namespace {

HWND ViewIn(HWND parent) {
    return parent ? FindWindowExA(parent, nullptr, names::DefViewClass, nullptr) : nullptr;
}

// FindWindowEx with a null parent goes through the top-level windows.
HWND ViewInTopLevelWorker() {
    for (HWND worker = FindWindowExA(nullptr, nullptr, names::WorkerClass, nullptr); worker;
         worker = FindWindowExA(nullptr, worker, names::WorkerClass, nullptr))
        if (HWND view = ViewIn(worker))
            return view;
    return nullptr;
}

HWND ViewUnderChildOf(HWND progman) {
    if (!progman)
        return nullptr;
    for (HWND child = FindWindowExA(progman, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(progman, child, nullptr, nullptr))
        if (HWND view = ViewIn(child))
            return view;
    return nullptr;
}

HWND ViewAt(desktop_search::Place place) {
    switch (place) {
    case desktop_search::Place::Progman:
        return ViewIn(FindWindowA(names::ProgmanClass, nullptr));
    case desktop_search::Place::WorkerW:
        return ViewInTopLevelWorker();
    case desktop_search::Place::UnderProgmanChild:
        return ViewUnderChildOf(FindWindowA(names::ProgmanClass, nullptr));
    }
    return nullptr;
}

} // namespace

HWND WINAPI GetDeskTopView() {
    HWND view = nullptr;
    desktop_search::FirstPlaceHoldingView([&](desktop_search::Place place) {
        view = ViewAt(place);
        return view != nullptr;
    });
    return view;
}
