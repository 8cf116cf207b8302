#include "tools/dial/DialArguments.h"
#include "tools/dial/DialTool.h"

#include <gtest/gtest.h>

using Action = DialArguments::Action;

TEST(DialArguments, CommandLinesReadAsTheirActions)
{
    struct Case {
        QStringList arguments;
        Action action;
        QString entry;
        std::optional<QString> userName, password;
        std::optional<QString> folder = {};
    };
    const Case cases[] = {
        { {}, Action::ListConnections, {}, {}, {} },
        { { "/list" }, Action::ListEntries, {}, {}, {} },
        { { "/LIST" }, Action::ListEntries, {}, {}, {} },
        { { "/disconnect" }, Action::Disconnect, {}, {}, {} },
        { { "/help" }, Action::Help, {}, {}, {} },
        { { "/?" }, Action::Help, {}, {}, {} },
        { { "Home ISP" }, Action::Dial, "Home ISP", {}, {} },
        { { "Home", "ann" }, Action::Dial, "Home", "ann", {} },
        { { "Home", "ann", "/se cret" }, Action::Dial, "Home", "ann", "/se cret" },
        { { "Home", "ann", "" }, Action::Dial, "Home", "ann", "" },
        { { "Home", "/Disconnect" }, Action::Disconnect, "Home", {}, {} },
        { { "--folder", "/tmp/a b", "/list" }, Action::ListEntries, {}, {}, {}, "/tmp/a b" },
        { { "--folder=data", "Home", "ann" }, Action::Dial, "Home", "ann", {}, "data" },
        { { "--folder", "data" }, Action::ListConnections, {}, {}, {}, "data" },
        // Behind the entry it is a user name or a password like any other.
        { { "Home", "ann", "--folder" }, Action::Dial, "Home", "ann", "--folder" },
    };
    for (const Case &c : cases) {
        const auto parsed = DialArguments::parse(c.arguments);
        ASSERT_TRUE(parsed) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(parsed->action, c.action) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(parsed->entry, c.entry) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(parsed->userName, c.userName) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(parsed->password, c.password) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(parsed->folder, c.folder) << c.arguments.join(' ').toStdString();
    }
}

TEST(DialArguments, NonsenseIsRefusedWithAReason)
{
    const QStringList refused[] = {
        { "/bogus" },
        { "/list", "Home" },
        { "/disconnect", "Home" },
        { "Home", "/list" },
        { "" },
        { "Home", "ann", "pw", "more" },
        { "Home", "/disconnect", "now" },
        { "--folder" },
        { "--folder=", "/list" },
        { "--folder", "" },
    };
    for (const QStringList &arguments : refused) {
        const auto parsed = DialArguments::parse(arguments);
        ASSERT_FALSE(parsed) << arguments.join(' ').toStdString();
        EXPECT_FALSE(parsed.error().isEmpty());
    }
}

TEST(DialTool, ErrorCodesNeverExitAsSuccess)
{
    const std::pair<dialup::ErrorCode, int> cases[] = {
        { 6, 6 },
        { 255, 255 },
        { 602, 90 },
        { 691, 179 },
        { 256, 255 },
        { 768, 255 },
        { 0, 255 },
        { 0x10001, 1 },
    };
    for (const auto &[code, status] : cases)
        EXPECT_EQ(DialTool::exitStatusFor(code), status) << code;
}
