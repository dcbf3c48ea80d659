// The caption answer of the list-view link, kept apart from the window code so
// that its bounds can be tested on any platform.
#pragma once

namespace caption {

// Size of the shared block's caption field.
inline constexpr int kBytes = 256;

// Puts the answer of a caption query into `field` (kBytes bytes) and returns
// how many bytes of it are valid, 0 to kBytes. `reported` is what the list
// view returned; `text` is the text pointer it left in the request: `field`
// itself, a buffer of its own, or null. The text is terminated in `field`
// whenever it is shorter than kBytes; nothing past `field` is touched, and at
// most kBytes bytes are read from `text`.
int Store(char* field, const char* text, long long reported);

} // namespace caption
