#pragma once

#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QString>
#include <QWidget>

#include <optional>

// One line of plain text that changes every second, drawn as a label with the
// same font, colour and alignment draws it. When only digits changed, the
// new digits' glyphs take the old ones' places, moved by what the font's
// kerning of the pairs they make asks, and only what changed is repainted:
// a second costs no text layout. Anything else is laid out afresh.
class ClockText final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClockText)

public:
    ClockText(Qt::Alignment alignment, QWidget *parent);

    [[nodiscard]] const QString &text() const { return m_text; }
    void setText(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Character {
        QGlyphRun glyph; // placed relative to m_origin; none for a character without one
        QRect place; // what its repaint covers
    };

    // How far each character sends the next one on, by the pair they make,
    // and the glyph of each, for the digits and what stands beside them in a clock.
    struct Pairs {
        QHash<QString, qreal> advance;
        QHash<QChar, quint32> glyph;
    };

    void layOut();
    bool swapDigits(const QString &text);
    void place(Character &character) const;

    Qt::Alignment m_alignment;
    QString m_text;
    QPointF m_origin; // where the laid-out line starts
    qreal m_lineHeight = 0;
    QList<Character> m_characters; // one for each of m_text, in order
    std::optional<Pairs> m_pairs; // worked out at the first change of digits; empty: none known
};
