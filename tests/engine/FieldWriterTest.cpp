// The fixed-field writer fills exactly the room it is given and never writes past it.
#include "database/engine/FieldIO.h"

#include <gtest/gtest.h>

#include <array>

using Database::Engine::AFieldWriter;

TEST(FieldWriter, FillsTheRoomAndNeverWritesPastIt)
{
    const struct {
        std::size_t room;
        bool filled;
        std::size_t written;  // whole fields that fit, in order
    } cases[] = {{7, true, 7}, {8, false, 7}, {6, false, 6}, {5, false, 4}, {0, false, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.room);
        std::array<std::uint8_t, 12> bytes;
        bytes.fill(0xEE);
        AFieldWriter writer(bytes.data(), bytes.data() + c.room);
        writer(std::int32_t{0x04030201});
        writer(std::uint16_t{0x0605});
        writer.Pad(1);
        EXPECT_EQ(writer.Filled(), c.filled);
        const std::uint8_t expected[] = {1, 2, 3, 4, 5, 6, 0};
        for (std::size_t i = 0; i < bytes.size(); ++i)
            EXPECT_EQ(bytes[i], i < c.written ? expected[i] : 0xEE) << i;
    }
}
