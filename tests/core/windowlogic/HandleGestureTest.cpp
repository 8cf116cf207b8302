#include "core/windowlogic/HandleGesture.h"

#include <vector>

#include <gtest/gtest.h>

TEST(HandleGesture, FewPixelsAreAClickMoreAreADrag)
{
    const struct {
        const char *name;
        std::vector<QPoint> moves; // after a press at (100, 200)
        std::optional<int> lastDy;
        bool click;
    } cases[] = {
        { "no movement", {}, std::nullopt, true },
        { "three pixels across", { { 103, 200 } }, std::nullopt, true },
        { "two and one pixels", { { 102, 201 } }, std::nullopt, true },
        { "four pixels down", { { 100, 204 } }, 4, false },
        { "four pixels sideways still drags, no height change", { { 104, 200 } }, 0, false },
        { "a drag stays a drag when it comes back", { { 100, 230 }, { 100, 201 } }, 1, false },
        { "upwards", { { 100, 190 } }, -10, false },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        HandleGesture gesture;
        gesture.press({ 100, 200 });
        std::optional<int> dy;
        for (const QPoint &p : c.moves)
            dy = gesture.move(p);
        EXPECT_EQ(dy, c.lastDy);
        EXPECT_EQ(gesture.release(), c.click);
        EXPECT_FALSE(gesture.pressed());
    }
}

TEST(HandleGesture, MovesWithoutAPressDoNothing)
{
    HandleGesture gesture;
    EXPECT_EQ(gesture.move({ 0, 50 }), std::nullopt);
    EXPECT_FALSE(gesture.release());
}
