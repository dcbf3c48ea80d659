#include "app/typed_word.h"

bool TypedWord::Feed(unsigned key) {
    if (matched_ >= word_.size() || key != static_cast<unsigned char>(word_[matched_])) {
        matched_ = 0;
        return false;
    }
    if (++matched_ < word_.size())
        return false;
    matched_ = 0;
    return true;
}
