#pragma once

#include <QString>
#include <QStringList>

// A line of messages that travels leftwards across a strip of the window
// and comes back in from the right once all of it has gone by.
// Positions and widths are in logical pixels.
class TravellingLine {
public:
    explicit TravellingLine(const QStringList &messages);

    // The messages in order, with a wide gap between them.
    [[nodiscard]] const QString &text() const { return m_text; }
    // The left end of the line; negative once it has started to leave.
    [[nodiscard]] int x() const { return m_x; }

    // Puts the line just beyond the right edge of a strip `stripWidth` wide.
    void restart(int stripWidth);
    // Moves the line `pixels` to the left; a line `lineWidth` wide that has
    // wholly left the strip restarts.
    void advance(int lineWidth, int stripWidth, int pixels);

private:
    QString m_text;
    int m_x = 0;
};
