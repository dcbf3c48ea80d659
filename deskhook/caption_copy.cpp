#include "deskhook/caption_copy.h"

#include <algorithm>
#include <cstring>

namespace caption {

namespace {

int TerminatedLength(const char16_t* text, int limit) {
    const char16_t* end = std::find(text, text + limit, u'\0');
    return static_cast<int>(end - text);
}

} // namespace

int Store(char16_t* field, const char16_t* text, long long reported) {
    int length = static_cast<int>(std::clamp<long long>(reported, 0, kUnits));
    if (!text)
        length = 0;
    else if (text != field) {
        // The control answered with its own buffer; a shorter string than it
        // claims must not drag units past its terminator along.
        length = TerminatedLength(text, length);
        std::memmove(field, text, static_cast<size_t>(length) * sizeof(char16_t));
    }
    if (length < kUnits)
        field[length] = u'\0';
    return length;
}

} // namespace caption
