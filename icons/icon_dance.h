// The icon dance's motion: the bounce of one icon, the chase of the cursor,
// the glide along a curved path, the swap of two icons' places, the rotation
// of the styles and the random numbers they all draw. Each dancing thread owns
// its own generator, so that icons seeded alike move alike.
#pragma once

#include <cstdint>

#include "icons/icon_placement.h"

namespace icons {

// At most this many icons dance: icons 0 to kMaxDancers - 1.
inline constexpr int kMaxDancers = 99;

enum class DanceStyle { FreeBounce = 0, BounceInStep = 1, Swap = 2 };

// The style after `previous`: 0, 1, 2, 0, ... `firstDraw` (any random
// number) picks where the rotation starts when there was no previous dance.
DanceStyle NextDanceStyle(const DanceStyle* previous, int firstDraw);

// The classic C library generator: numbers 0 to 32767 from a 32-bit state.
class DanceRandom {
  public:
    explicit DanceRandom(std::uint32_t seed) : state_(seed) {}
    int Next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

  private:
    std::uint32_t state_;
};

// What the mouse makes the bouncing icons do, by the number of 100 ms ticks
// in a row in which the cursor moved.
enum class DanceMove { Bounce, Chase, GoHome };
DanceMove MoveForTicks(int moveTicks);

// The tick count after one more tick: 0 when the cursor stood still.
int NextMoveTicks(int moveTicks, Point previousCursor, Point cursor);

// One step of an icon towards the cursor: onto it when it is near, else a
// sixth of the way.
Point ChaseStep(Point icon, Point cursor);

// The screen an icon bounces in: positions 0 to xMax and 0 to yMax, with
// swings of up to ampX and ampY pixels a step (at least 1).
struct BounceField {
    std::int32_t xMax = 0;
    std::int32_t yMax = 0;
    std::int32_t ampX = 1;
    std::int32_t ampY = 1;
};
BounceField MakeBounceField(const ScreenGeometry& screen);

// One icon swinging on a sine and a cosine, turning back at the screen's
// edges and drawing a new swing whenever its sine or cosine changes sign.
class Bouncer {
  public:
    Bouncer(const BounceField& field, Point start, DanceRandom& random);
    // The position after one more step.
    Point Step(DanceRandom& random);
    Point Position() const { return position_; }
    void MoveTo(Point position) { position_ = position; }

  private:
    BounceField field_;
    Point position_;
    std::int32_t vx_ = 0;
    std::int32_t vy_ = 0;
    double angle_ = 0;
    int previousSignSin_ = 1;
    int previousSignCos_ = 1;
};

// A glide takes this many steps of 100 ms, then lands on its target.
inline constexpr int kGlideSteps = 14;

// Step j (1 to kGlideSteps) of a glide from `from` to `to`: along the straight
// line, bulging sideways by up to a twelfth of the distance.
Point GlidePoint(Point from, Point to, int step);

// The pause after a swap, in 100 ms ticks: 3 to 22.
int SwapPauseTicks(DanceRandom& random);

} // namespace icons
