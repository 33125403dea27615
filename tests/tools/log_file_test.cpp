// The --log line format that other tests parse.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "counter/log_file.h"

namespace zorvalit::counter {
namespace {

TEST(LogLine, WriteHasTimeFrameKindHexAndDropped)
{
    const std::vector<std::uint8_t> bytes{0x20, 0x00, 0xB5, 0x0A};
    EXPECT_EQ(log_write_line(123456789012, 7, "nul+cut", bytes, 3), "123456789012 7 nul+cut 2000b50a 3\n");
    EXPECT_EQ(log_write_line(5, 1, "frame", {}, 20), "5 1 frame - 20\n");
}

TEST(LogLine, EventsKeepTheSameFiveFields)
{
    EXPECT_EQ(log_event_line(9, 0, "open", "/dev/pts/3"), "9 0 open /dev/pts/3 0\n");
    EXPECT_EQ(log_event_line(10, 4, "hangup", "-"), "10 4 hangup - 0\n");
}

}  // namespace
}  // namespace zorvalit::counter
