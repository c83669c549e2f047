#include "byte_buffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

namespace {

// Every byte reserved must be usable (the sanitizer build sees a write past
// the block) and growth must keep the bytes asked for. A smaller request
// changes nothing, as when a list is loaded into a second time, and a moved
// buffer is left empty, or both owners would free the block.
TEST(ByteBuffer, EveryReservedByteIsUsableAndGrowthKeepsTheFirst) {
    ByteBuffer buffer;
    std::size_t filled = 0;
    for (std::size_t capacity : {std::size_t{1}, std::size_t{4095}, (std::size_t{1} << 20) + 1}) {
        buffer.Reserve(capacity, filled);
        ASSERT_GE(buffer.capacity(), capacity);
        for (std::size_t i = 0; i < filled; ++i) {
            ASSERT_EQ(buffer.data()[i], static_cast<char>(i % 251)) << capacity << " at " << i;
        }
        for (std::size_t i = 0; i < capacity; ++i) buffer.data()[i] = static_cast<char>(i % 251);
        filled = capacity;
    }
    buffer.Reserve(filled / 2, filled);  // no shrinking, nothing moves
    EXPECT_EQ(buffer.capacity(), filled);

    ByteBuffer moved(std::move(buffer));
    EXPECT_EQ(buffer.data(), nullptr);
    ASSERT_EQ(moved.capacity(), filled);
    EXPECT_EQ(moved.data()[filled - 1], static_cast<char>((filled - 1) % 251));
    ByteBuffer assigned;
    assigned.Reserve(10, 0);
    assigned = std::move(moved);
    EXPECT_EQ(assigned.capacity(), filled);
}

}  // namespace
