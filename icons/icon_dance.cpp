#include "icons/icon_dance.h"

#include <cmath>
#include <cstdlib>

namespace icons {
namespace {

constexpr int kChaseAfterTicks = 15;
constexpr int kHomeAfterTicks = 31;
constexpr std::int32_t kChaseSnap = 30;
constexpr std::int32_t kChaseDivisor = 6;
constexpr std::int32_t kAmplitudeDivisor = 30;
constexpr double kAngleStep = 0.1;
constexpr double kPi = 3.141592653;

int SignOf(double value) {
    return value < 0 ? -1 : 1;
}

int SignOf(std::int32_t value) {
    return value < 0 ? -1 : 1;
}

// A new swing: a random number with the sign of the old swing times the sign
// of the curve, reduced modulo the amplitude (C's remainder keeps the sign).
std::int32_t NewSwing(DanceRandom& random, std::int32_t swing, int curveSign,
                      std::int32_t amplitude) {
    return (random.Next() * SignOf(swing) * curveSign) % amplitude;
}

} // namespace

DanceStyle NextDanceStyle(const DanceStyle* previous, int firstDraw) {
    const int before = previous ? static_cast<int>(*previous) : std::abs(firstDraw % 3);
    return static_cast<DanceStyle>((before + 1) % 3);
}

DanceMove MoveForTicks(int moveTicks) {
    if (moveTicks < kChaseAfterTicks)
        return DanceMove::Bounce;
    if (moveTicks < kHomeAfterTicks)
        return DanceMove::Chase;
    return DanceMove::GoHome;
}

int NextMoveTicks(int moveTicks, Point previousCursor, Point cursor) {
    if (previousCursor.x == cursor.x && previousCursor.y == cursor.y)
        return 0;
    return moveTicks + 1;
}

Point ChaseStep(Point icon, Point cursor) {
    const std::int32_t dx = cursor.x - icon.x;
    const std::int32_t dy = cursor.y - icon.y;
    if (std::abs(dx) < kChaseSnap && std::abs(dy) < kChaseSnap)
        return cursor;
    return {icon.x + dx / kChaseDivisor, icon.y + dy / kChaseDivisor};
}

BounceField MakeBounceField(const ScreenGeometry& screen) {
    BounceField field;
    field.xMax = screen.width - screen.spacingX;
    field.yMax = screen.height - screen.spacingY;
    // A screen hardly wider than an icon still swings by a pixel, and never
    // divides by zero.
    field.ampX = field.xMax / kAmplitudeDivisor > 0 ? field.xMax / kAmplitudeDivisor : 1;
    field.ampY = field.yMax / kAmplitudeDivisor > 0 ? field.yMax / kAmplitudeDivisor : 1;
    return field;
}

Bouncer::Bouncer(const BounceField& field, Point start, DanceRandom& random)
    : field_(field), position_(start) {
    vx_ = random.Next() % field_.ampX;
    vy_ = random.Next() % field_.ampY;
    angle_ = (random.Next() % 3141) * 0.001;
}

Point Bouncer::Step(DanceRandom& random) {
    angle_ += kAngleStep;
    const double s = std::sin(angle_);
    const double c = std::cos(angle_);
    if (SignOf(s) != previousSignSin_)
        vx_ = NewSwing(random, vx_, SignOf(s), field_.ampX);
    if (SignOf(c) != previousSignCos_)
        vy_ = NewSwing(random, vy_, SignOf(c), field_.ampY);
    previousSignSin_ = SignOf(s);
    previousSignCos_ = SignOf(c);
    const double nx = position_.x + vx_ * s;
    const double ny = position_.y + vy_ * c;
    if (nx < 0 || nx > field_.xMax)
        vx_ = -vx_;
    if (ny < 0 || ny > field_.yMax)
        vy_ = -vy_;
    position_ = {static_cast<std::int32_t>(nx), static_cast<std::int32_t>(ny)};
    return position_;
}

Point GlidePoint(Point from, Point to, int step) {
    const std::int32_t dx = to.x - from.x;
    const std::int32_t dy = to.y - from.y;
    const double bulge = std::sin(step * (1.0 / (kGlideSteps + 1)) * kPi);
    return {from.x + static_cast<std::int32_t>(bulge * dy * (1.0 / 12)) +
                dx * step / (kGlideSteps + 1),
            from.y + static_cast<std::int32_t>(bulge * dx * (1.0 / 12)) +
                dy * step / (kGlideSteps + 1)};
}

int SwapPauseTicks(DanceRandom& random) {
    return random.Next() % 20 + 3;
}

} // namespace icons
