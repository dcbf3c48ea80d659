// The Position hot key steps through the alignments and then puts the icons
// back: top, right, bottom, left, edge, restore, top, ...
#pragma once

// Alignment modes of the icons, by their number.
enum class IconAlignment { Edge = 0, Left = 1, Bottom = 2, Right = 3, Top = 4 };

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
