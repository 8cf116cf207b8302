#include "core/windowlogic/ButtonLook.h"

#include <functional>
#include <vector>

#include <gtest/gtest.h>

TEST(ButtonLook, FaceFollowsThePointerAndThePress)
{
    using Step = std::function<void(ButtonLook &)>;
    const Step over = [](ButtonLook &l) { l.pointerMoved(true); };
    const Step off = [](ButtonLook &l) { l.pointerMoved(false); };
    const Step left = [](ButtonLook &l) { l.pointerLeft(); };
    const Step release = [](ButtonLook &l) { l.released(); };
    const struct {
        const char *name;
        std::vector<Step> steps;
        bool enabled;
        bool held;
        bool latched;
        ButtonFace face;
    } cases[] = {
        { "untouched", {}, true, false, false, ButtonFace::Up },
        { "pointer over", { over }, true, false, false, ButtonFace::Hot },
        { "pointer moved off", { over, off }, true, false, false, ButtonFace::Up },
        { "pointer left the window", { over, left }, true, false, false, ButtonFace::Up },
        { "held over the button", { over }, true, true, false, ButtonFace::Down },
        { "latched, pointer elsewhere", {}, true, false, true, ButtonFace::Down },
        { "just released over it", { over, release }, true, false, false, ButtonFace::Up },
        { "moved again after the release", { over, release, over }, true, false, false, ButtonFace::Hot },
        { "released, pointer off, back again", { over, release, off, over }, true, false, false, ButtonFace::Hot },
        { "disabled under the pointer", { over }, false, false, false, ButtonFace::Disabled },
        { "disabled and latched", {}, false, false, true, ButtonFace::Disabled },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ButtonLook look;
        for (const Step &step : c.steps)
            step(look);
        EXPECT_EQ(look.face(c.enabled, c.held, c.latched), c.face);
    }
}
