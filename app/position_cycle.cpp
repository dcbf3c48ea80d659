#include "app/position_cycle.h"

PositionStep PositionCycle::Next() {
    if (index_ == 0)
        index_ = kRestoreIndex + 1;
    --index_;
    if (index_ == kRestoreIndex)
        return {true, IconAlignment::Edge};
    return {false, static_cast<IconAlignment>(index_)};
}
