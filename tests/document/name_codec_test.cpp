#include "document/name_codec.h"

#include <gtest/gtest.h>

namespace {

using doc::NameSlot;

NameSlot slotOf(std::initializer_list<std::uint8_t> bytes) {
    NameSlot slot{};
    std::copy(bytes.begin(), bytes.end(), slot.begin());
    return slot;
}

TEST(NameSlots, ReadUpToTheFirstZeroByte) {
    EXPECT_EQ(doc::readNameSlot(slotOf({'B', 'u', 'n', 'k', 'e', 'r', 0, 'x', 'y'})), U"Bunker");
    EXPECT_EQ(doc::readNameSlot(NameSlot{}), U"");
    EXPECT_EQ(doc::readNameSlot(slotOf({0x80, 0xE9, 0x9D})), U"\u20AC\u00E9\u009D");
}

TEST(NameSlots, ASlotWithoutTerminatorIsAThirtyCharacterName) {
    NameSlot slot;
    slot.fill('Z');
    EXPECT_EQ(doc::readNameSlot(slot), std::u32string(30, U'Z'));
}

TEST(NameSlots, WriteKeepsTheBytesAfterTheTerminator) {
    NameSlot slot = slotOf({'H', 'e', 'a', 'v', 'y', ' ', 'T', 'a', 'n', 'k', 0, 0, 'q'});
    ASSERT_TRUE(doc::writeNameSlot(slot, U"Jeep"));
    EXPECT_EQ(slot, slotOf({'J', 'e', 'e', 'p', 0, ' ', 'T', 'a', 'n', 'k', 0, 0, 'q'}));
    EXPECT_EQ(doc::readNameSlot(slot), U"Jeep");

    ASSERT_TRUE(doc::writeNameSlot(slot, U""));
    EXPECT_EQ(slot[0], 0);
    EXPECT_EQ(slot[1], 'e');
}

TEST(NameSlots, ReadAndWrittenUnchangedGivesTheSameBytes) {
    // Every byte from 1 to 255 in turn, 29 to a slot, with rubbish after the terminator.
    for (int start = 1; start <= 255; start += 29) {
        NameSlot slot{};
        for (int i = 0; i < 29; ++i)
            slot[static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>((start + i - 1) % 255 + 1);
        slot[29] = 0;
        const NameSlot before = slot;
        ASSERT_TRUE(doc::writeNameSlot(slot, doc::readNameSlot(slot)));
        EXPECT_EQ(slot, before);
    }
    NameSlot withRest = slotOf({'A', 0, 'o', 'l', 'd'});
    const NameSlot before = withRest;
    ASSERT_TRUE(doc::writeNameSlot(withRest, doc::readNameSlot(withRest)));
    EXPECT_EQ(withRest, before);
}

TEST(NameSlots, ALongNameKeepsItsFirst29Characters) {
    NameSlot slot;
    slot.fill('Z');
    ASSERT_TRUE(doc::writeNameSlot(slot, std::u32string(35, U'a')));
    EXPECT_EQ(doc::readNameSlot(slot), std::u32string(29, U'a'));
    EXPECT_EQ(slot[29], 0);
}

TEST(NameSlots, ANameTheCodePageCannotHoldLeavesTheSlotUntouched) {
    NameSlot slot = slotOf({'O', 'l', 'd', 0});
    const NameSlot before = slot;
    EXPECT_FALSE(doc::writeNameSlot(slot, U"Tank \u4E2D"));
    EXPECT_FALSE(doc::writeNameSlot(slot, std::u32string(U"a\0b", 3)));
    EXPECT_EQ(slot, before);
    EXPECT_TRUE(doc::writeNameSlot(slot, U"\u20AC 5"));
    EXPECT_EQ(slot, slotOf({0x80, ' ', '5', 0}));
}

} // namespace
