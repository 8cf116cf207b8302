#include "gui/controls/ElidedText.h"

#include <QLabel>

#include <gtest/gtest.h>

#include <functional>

namespace {

QFont pixelFont(int pixels)
{
    QFont font;
    font.setPixelSize(pixels);
    return font;
}

void expectSameLook(const QLabel &label, const QLabel &fresh)
{
    EXPECT_EQ(label.text(), fresh.text());
    EXPECT_EQ(label.font(), fresh.font());
    EXPECT_EQ(label.toolTip(), fresh.toolTip());
}

} // namespace

// A label set again to what it shows is left alone; whatever changed in
// between, it ends up as a label set once, from new, would look.
TEST(ElidedText, SettingAgainLooksAsSettingOnce)
{
    const QString longText = QStringLiteral("1,234,567,890.12 and more after that");
    const struct {
        const char *what;
        QString text;
        QString hint;
        int width;
        std::function<void(QLabel &)> between;
    } cases[] = {
        { "nothing changed", QStringLiteral("12.34"), {}, 80, [](QLabel &) {} },
        { "text set from elsewhere", QStringLiteral("12.34"), {}, 80,
            [](QLabel &label) { label.setText(QStringLiteral("other")); } },
        { "font set from elsewhere", longText, {}, 80, [](QLabel &label) { label.setFont(pixelFont(30)); } },
        { "hint set from elsewhere", longText, QStringLiteral(" hint"), 80,
            [](QLabel &label) { label.setToolTip(QStringLiteral("other")); } },
        { "narrower", longText, QStringLiteral(" hint"), 80, [](QLabel &label) { label.resize(30, 20); } },
        { "wider", longText, {}, 30, [](QLabel &label) { label.resize(600, 20); } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        for (const bool fitted : { false, true }) {
            QLabel label;
            label.resize(c.width, 20);
            label.setFont(pixelFont(14));
            const auto set = [&](QLabel &target, const QString &text) {
                if (fitted)
                    setFittedText(&target, text, pixelFont(22), c.hint);
                else
                    setElidedText(&target, text, c.hint);
            };
            set(label, c.text);
            c.between(label);
            set(label, c.text);

            QLabel fresh;
            fresh.resize(label.size());
            fresh.setFont(fitted ? pixelFont(14) : label.font());
            set(fresh, c.text);
            expectSameLook(label, fresh);

            // A new text is always shown.
            set(label, QStringLiteral("9"));
            set(fresh, QStringLiteral("9"));
            expectSameLook(label, fresh);
            EXPECT_EQ(label.text(), QStringLiteral("9"));
        }
    }
}
