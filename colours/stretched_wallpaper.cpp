#include "colours/stretched_wallpaper.h"

#include "colours/pixel_image.h"

#include <algorithm>
#include <climits>

namespace colors {

namespace {

// truncate(length x (target x 10 / base)) / 10, at least 1 and within int.
int ScaleSide(int length, int target, int base) {
    const float factor = static_cast<float>(target) * 10.0f / static_cast<float>(base);
    const float tenths = static_cast<float>(length) * factor;
    if (!(tenths < static_cast<float>(INT_MAX)))
        return INT_MAX / 10;
    return std::max(static_cast<int>(tenths) / 10, 1);
}

void Put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* p, std::uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

} // namespace

PictureSize ComputeStretchedSize(PictureSize picture, PictureSize screen,
                                 bool stretchInnerDimension) {
    if (picture.width <= 0 || picture.height <= 0 || screen.width <= 0 || screen.height <= 0)
        return {};
    const float screenRatio = static_cast<float>(screen.width) / static_cast<float>(screen.height);
    const float pictureRatio =
        static_cast<float>(picture.width) / static_cast<float>(picture.height);
    const bool fitHeight = (screenRatio >= pictureRatio) != stretchInnerDimension;
    if (fitHeight)
        return {ScaleSide(picture.width, screen.height, picture.height), screen.height};
    return {screen.width, ScaleSide(picture.height, screen.width, picture.width)};
}

std::array<std::uint8_t, kBitmapHeadersSize> BitmapFileHeaders(int width, int height) {
    std::array<std::uint8_t, kBitmapHeadersSize> h{};
    const auto imageSize =
        static_cast<std::uint32_t>(RowStride(width) * static_cast<std::size_t>(height));
    h[0] = 'B';
    h[1] = 'M';
    Put32(&h[2], static_cast<std::uint32_t>(kBitmapHeadersSize) + imageSize);
    Put32(&h[10], static_cast<std::uint32_t>(kBitmapHeadersSize));
    Put32(&h[14], 40);
    Put32(&h[18], static_cast<std::uint32_t>(width));
    Put32(&h[22], static_cast<std::uint32_t>(height));
    Put16(&h[26], 1);
    Put16(&h[28], 24);
    Put32(&h[34], imageSize);
    return h;
}

} // namespace colors
