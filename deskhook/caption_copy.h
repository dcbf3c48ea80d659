// The caption answer of the list-view link, kept apart from the window code so
// that its bounds can be tested on any platform. Captions travel as UTF-16, as
// the list view keeps them: an ANSI answer would turn every character outside
// the user's code page into "?".
#pragma once

namespace caption {

// Size of the shared block's caption fields, in UTF-16 units.
inline constexpr int kUnits = 256;

// Puts the answer of a caption query into `field` (kUnits units) and returns
// how many units of it are valid, 0 to kUnits. `reported` is what the list
// view returned; `text` is the text pointer it left in the request: `field`
// itself, a buffer of its own, or null. The text is terminated in `field`
// whenever it is shorter than kUnits; nothing past `field` is touched, and at
// most kUnits units are read from `text`.
int Store(char16_t* field, const char16_t* text, long long reported);

} // namespace caption
