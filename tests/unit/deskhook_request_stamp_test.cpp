#include "deskhook/request_stamp.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using request_stamp::Next;
using request_stamp::Publish;
using request_stamp::Take;

// A block with one request field, and a late message of the request before.
struct Block {
    volatile long stamp = 0;
    int field = 0;
};

TEST(DeskhookRequestStamp, NextSkipsTheWritingStampAndWraps) {
    EXPECT_EQ(Next(1L), 2L);
    EXPECT_EQ(Next(-1L), 1L);
    EXPECT_EQ(Next(LONG_MAX), 1L);
    EXPECT_EQ(Next(0L), 1L);
}

// The late message of the request before comes at every step of the next
// request's writing: it never takes the new fields.
TEST(DeskhookRequestStamp, ALateMessageNeverTakesTheNextRequestsFields) {
    Block block;
    const long late = Publish(block.stamp, [&] { block.field = 1; });
    int copied = -1;
    bool takenWhileWriting = true;
    const long next = Publish(block.stamp, [&] {
        block.field = 2;
        takenWhileWriting = Take(block.stamp, late, [&] { copied = block.field; });
    });
    EXPECT_FALSE(takenWhileWriting);
    EXPECT_FALSE(Take(block.stamp, late, [&] { copied = block.field; })) << "after publishing";
    EXPECT_TRUE(Take(block.stamp, next, [&] { copied = block.field; }));
    EXPECT_EQ(copied, 2);
}

// The next request starts while the late message copies its fields: the copy
// is not taken.
TEST(DeskhookRequestStamp, ACopyOverlappedByTheNextRequestIsRefused) {
    Block block;
    const long late = Publish(block.stamp, [&] { block.field = 1; });
    int copied = -1;
    EXPECT_FALSE(Take(block.stamp, late, [&] {
        copied = block.field;
        block.stamp = request_stamp::kWriting; // the next writer has begun
        block.field = 2;
    }));
    EXPECT_TRUE(Take(block.stamp, Publish(block.stamp, [] {}), [] {}));
}

TEST(DeskhookRequestStamp, NoMessageCarriesTheWritingStamp) {
    Block block;
    EXPECT_FALSE(Take(block.stamp, long(request_stamp::kWriting), [] {}));
}

} // namespace
