#include "core/connection/RasStateText.h"

#include "support/FakeDialUpService.h"

#include <gtest/gtest.h>

TEST(RasStateText, NamesTheStateOrTheError)
{
    FakeDialUpService service;
    const struct {
        std::uint32_t state;
        dialup::ErrorCode error;
        const char *text;
    } cases[] = {
        { 0, 0, "Opening port" },
        { 3, 0, "Device connected" },
        { 6, 0, "Authentication: notify" },
        { 21, 0, "Logging on..." },
        { 22, 0, "" },
        { 4096, 0, "Interactive" },
        { 4099, 0, "Password Expired" },
        { 4100, 0, "" },
        { 8192, 0, "Connected" },
        { 8193, 0, "Disconnected" },
        { 8192, 691, ">Fake error 691" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.state);
        EXPECT_EQ(RasStateText(c.state, c.error, service), QString::fromLatin1(c.text));
    }
}
