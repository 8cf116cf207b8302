#include "core/store/CountedString.h"

#include <gtest/gtest.h>

namespace {

QByteArray storedBytes(const CountedString<64> &stored) { return QByteArray(stored.chars, stored.length); }

} // namespace

// Whatever a name holds, the record gives it back as it was written; the
// code page keeps the names it can hold unambiguously, byte for byte.
TEST(CountedString, EveryNameReadsBackAsWritten)
{
    const struct {
        QString name;
        QByteArray bytes; // empty: UTF-8
    } cases[] = {
        { QStringLiteral("DemoEntry"), "DemoEntry" },
        { QStringLiteral("Caf\u00e9 Net"), "Caf\xe9 Net" },
        { QStringLiteral("\u20ac Line \u2013 2"), "\x80 Line \x96 2" },
        // C9 92 and C3 A9 would read as UTF-8 ("\u0252", "\u00e9").
        { QStringLiteral("JOS\u00c9\u2019S NET"), {} },
        { QStringLiteral("\u00c3\u00a9tude"), {} },
        { QStringLiteral("\u0421\u0432\u044f\u0437\u044c"), {} },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        CountedString<64> stored {};
        stored.setText(c.name);
        EXPECT_EQ(stored.text(), c.name);
        EXPECT_EQ(storedBytes(stored), c.bytes.isEmpty() ? c.name.toUtf8() : c.bytes);
    }
}
