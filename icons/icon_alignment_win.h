// Lining the real desktop icons up: the refusals, the measuring of the
// captions and the moves through the desktop link.
#pragma once

#include <windows.h>

#include "icons/icon_alignment.h"

struct AlignmentOutcome {
    // The icons were moved: saving stays locked until a restore.
    bool moved = false;
    // The caption background should be sampled again.
    bool resampleWanted = false;
};

// Stops a running dance, then lines every icon up in `layout`, or tells the
// user (owner may be null) why it does not.
AlignmentOutcome AlignIcons(HWND owner, IconAlignment layout);
