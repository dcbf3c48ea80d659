// The Position hot key steps through the alignments and then puts the icons
// back: top, right, bottom, left, edge, restore, top, ...
#pragma once

#include "icons/icon_alignment.h"

struct PositionStep {
    bool restore;            // put the saved positions back
    IconAlignment alignment; // otherwise align with this mode
};

class PositionCycle {
  public:
    PositionStep Next();

  private:
    static constexpr int kRestoreIndex = 5;
    int index_ = kRestoreIndex;
};
