// Moments of the system tick count (milliseconds, wrapping every 49.7 days)
// and deadlines over them. A deadline is compared through the signed
// difference of two tick values, so it stays right across the wrap and across
// the change of sign after 24.8 days; whether one is set is a flag of its own,
// since every tick value, 0 and -1 included, is a moment some day.
#pragma once

#include <cstdint>

using TickCount = uint32_t;

class Deadline {
  public:
    void Set(TickCount at) {
        at_ = at;
        armed_ = true;
    }
    void Clear() { armed_ = false; }
    bool Armed() const { return armed_; }
    // Armed and `now` at or past the deadline.
    bool Due(TickCount now) const { return armed_ && static_cast<int32_t>(now - at_) >= 0; }
    // Armed and `now` still before the deadline.
    bool Pending(TickCount now) const { return armed_ && !Due(now); }

  private:
    TickCount at_ = 0;
    bool armed_ = false;
};

struct ScreenPoint {
    int32_t x;
    int32_t y;

    bool operator==(const ScreenPoint& other) const { return x == other.x && y == other.y; }
    bool operator!=(const ScreenPoint& other) const { return !(*this == other); }
};

struct ScreenRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;

    // Left and top edges inside, right and bottom edges outside.
    bool Contains(ScreenPoint p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
};
