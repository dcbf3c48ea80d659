#include "deskhook/caption_copy.h"

#include <algorithm>
#include <cstring>

namespace caption {

namespace {

int TerminatedLength(const char* text, int limit) {
    const void* end = std::memchr(text, '\0', static_cast<size_t>(limit));
    return end ? static_cast<int>(static_cast<const char*>(end) - text) : limit;
}

} // namespace

int Store(char* field, const char* text, long long reported) {
    int length = static_cast<int>(std::clamp<long long>(reported, 0, kBytes));
    if (!text)
        length = 0;
    else if (text != field) {
        // The control answered with its own buffer; a shorter string than it
        // claims must not drag bytes past its terminator along.
        length = TerminatedLength(text, length);
        std::memmove(field, text, static_cast<size_t>(length));
    }
    if (length < kBytes)
        field[length] = '\0';
    return length;
}

} // namespace caption
