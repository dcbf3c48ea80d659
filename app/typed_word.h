// Recognises a word typed as a run of virtual key codes (capital letters).
#pragma once

#include <string>

class TypedWord {
  public:
    explicit TypedWord(std::string word) : word_(std::move(word)) {}

    // True when `key` completes the word; the match then starts again. A key
    // that does not continue the word resets the match and is not taken as
    // its first letter.
    bool Feed(unsigned key);

  private:
    std::string word_;
    std::size_t matched_ = 0;
};
