#include "base/dpi.h"

int ScaleToDpi(int pixels, int dpi) {
    const long long scaled = static_cast<long long>(pixels) * dpi;
    const long long half = scaled >= 0 ? kDefaultDpi / 2 : -kDefaultDpi / 2;
    return static_cast<int>((scaled + half) / kDefaultDpi);
}
