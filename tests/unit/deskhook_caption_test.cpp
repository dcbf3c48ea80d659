#include "deskhook/caption_copy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The field sits inside guard bytes that must never change.
struct GuardedField {
    static constexpr char16_t kGuard = u'#';
    std::vector<char16_t> units = std::vector<char16_t>(caption::kUnits + 32, kGuard);
    char16_t* Field() { return units.data() + 16; }
    bool GuardsIntact() const {
        for (int i = 0; i < 16; ++i)
            if (units[i] != kGuard || units[units.size() - 1 - i] != kGuard)
                return false;
        return true;
    }
};

struct ForeignCase {
    const char* name;
    size_t textLength;  // the control's own string
    long long reported; // what it claimed
    int expectedLength;
};

TEST(CaptionStore, ControlsOwnBufferIsCopiedWithinTheField) {
    const ForeignCase cases[] = {
        {"short", 5, 5, 5},
        {"empty", 0, 0, 0},
        {"255 characters", 255, 255, 255},
        {"fills the field", 256, 256, 256},
        {"longer than the field", 300, 300, 256},
        {"claims more than it has", 10, 200, 10},
        {"claims less than it has", 50, 20, 20},
        {"negative result", 8, -1, 0},
    };
    for (const ForeignCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::u16string text(c.textLength, u'\u6587');
        GuardedField field;
        int length = caption::Store(field.Field(), text.c_str(), c.reported);
        EXPECT_EQ(length, c.expectedLength);
        EXPECT_TRUE(std::u16string(field.Field(), length) == text.substr(0, length));
        if (length < caption::kUnits) {
            EXPECT_EQ(field.Field()[length], u'\0');
        }
        EXPECT_TRUE(field.GuardsIntact());
    }
}

TEST(CaptionStore, AnswerInTheFieldItselfIsTerminatedAndCapped) {
    const struct {
        int written;
        long long reported;
        int expectedLength;
    } cases[] = {{0, 0, 0}, {7, 7, 7}, {255, 255, 255}, {255, 1000, 256}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        GuardedField field;
        std::u16string text(c.written, u'c');
        text.copy(field.Field(), text.size());
        field.Field()[c.written] = u'\0';
        int length = caption::Store(field.Field(), field.Field(), c.reported);
        EXPECT_EQ(length, c.expectedLength);
        if (length < caption::kUnits) {
            EXPECT_EQ(field.Field()[length], u'\0');
        }
        EXPECT_TRUE(field.GuardsIntact());
    }
}

TEST(CaptionStore, NullTextGivesAnEmptyCaption) {
    GuardedField field;
    field.Field()[0] = u'z';
    EXPECT_EQ(caption::Store(field.Field(), nullptr, 12), 0);
    EXPECT_EQ(field.Field()[0], u'\0');
}

} // namespace
