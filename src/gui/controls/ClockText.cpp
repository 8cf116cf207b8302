#include "gui/controls/ClockText.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include <array>
#include <cmath>

namespace {

// The line as a label lays it out: one line, unwrapped, left to right.
struct LaidOutLine {
    QTextLayout layout;
    QTextLine line;
};

void layOutLine(LaidOutLine &out, const QString &text, const QFont &font, qreal width)
{
    out.layout.setText(text);
    out.layout.setFont(font);
    QTextOption option;
    option.setWrapMode(QTextOption::ManualWrap);
    option.setTextDirection(Qt::LeftToRight);
    out.layout.setTextOption(option);
    out.layout.beginLayout();
    out.line = out.layout.createLine();
    if (out.line.isValid()) {
        out.line.setLineWidth(width);
        out.line.setPosition(QPointF(0, 0));
    }
    out.layout.endLayout();
}

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

QString pairOf(QChar first, QChar second) { return QString(first) + second; }

} // namespace

ClockText::ClockText(Qt::Alignment alignment, QWidget *parent)
    : QWidget(parent)
    , m_alignment(alignment)
{
}

void ClockText::setText(const QString &text)
{
    if (text == m_text)
        return;
    if (swapDigits(text))
        return;
    m_text = text;
    layOut();
    update();
}

bool ClockText::swapDigits(const QString &text)
{
    const qsizetype count = text.size();
    if (count < 2 || count != m_text.size() || m_characters.size() != count || text.back() != m_text.back())
        return false;
    for (qsizetype i = 0; i < count; ++i) {
        if (m_characters[i].glyph.glyphIndexes().size() != 1)
            return false;
        if (text[i] != m_text[i] && (!isDigit(text[i]) || !isDigit(m_text[i])))
            return false;
    }
    if (!m_pairs) {
        // Every pair of digits, and digits beside the clock's separators.
        QString sample;
        for (char a = '0'; a <= '9'; ++a) {
            for (char b = '0'; b <= '9'; ++b)
                sample += QLatin1StringView(std::array { a, b }.data(), 2);
            sample += QStringLiteral(":%1:,%1, %1 .%1.").arg(QLatin1Char(a));
        }
        LaidOutLine laidOut;
        layOutLine(laidOut, sample, font(), 1e6);
        const QList<QGlyphRun> runs = laidOut.layout.glyphRuns();
        Pairs pairs;
        if (runs.size() == 1 && runs[0].glyphIndexes().size() == sample.size()) {
            const QList<QPointF> positions = runs[0].positions();
            for (qsizetype i = 0; i + 1 < sample.size(); ++i) {
                pairs.advance.insert(pairOf(sample[i], sample[i + 1]), positions[i + 1].x() - positions[i].x());
                pairs.glyph.insert(sample[i], runs[0].glyphIndexes()[i]);
            }
        }
        m_pairs = pairs;
    }
    // The positions again, from the first: a changed digit moves what follows
    // by the difference its pairs make.
    QList<qreal> x(count);
    x[0] = m_characters[0].glyph.positions().constFirst().x();
    for (qsizetype i = 0; i + 1 < count; ++i) {
        qreal advance = m_characters[i + 1].glyph.positions().constFirst().x()
            - m_characters[i].glyph.positions().constFirst().x();
        if (text[i] != m_text[i] || text[i + 1] != m_text[i + 1]) {
            const auto found = m_pairs->advance.constFind(pairOf(text[i], text[i + 1]));
            if (found == m_pairs->advance.constEnd() || !m_pairs->glyph.contains(text[i]))
                return false;
            advance = *found;
        }
        x[i + 1] = x[i] + advance;
    }
    const qreal widthChange = x[count - 1] - m_characters[count - 1].glyph.positions().constFirst().x();
    QRect dirty;
    for (qsizetype i = 0; i < count; ++i) {
        Character &character = m_characters[i];
        const QPointF at(x[i], character.glyph.positions().constFirst().y());
        if (text[i] == m_text[i] && at == character.glyph.positions().constFirst())
            continue;
        dirty |= character.place;
        if (text[i] != m_text[i])
            character.glyph.setGlyphIndexes({ m_pairs->glyph.value(text[i]) });
        character.glyph.setPositions({ at });
        place(character);
        dirty |= character.place;
    }
    m_text = text;
    if (widthChange != 0 && m_alignment & (Qt::AlignRight | Qt::AlignHCenter)) {
        // The line is placed in its rectangle again, as a label would.
        m_origin.rx() -= m_alignment & Qt::AlignRight ? widthChange : widthChange / 2;
        for (Character &character : m_characters)
            place(character);
        update();
    } else {
        update(dirty);
    }
    return true;
}

void ClockText::place(Character &character) const
{
    // Its advance and its ink, and a pixel round them for what antialiasing spills.
    const QPointF at = m_origin + character.glyph.positions().constFirst();
    const qreal advance
        = character.glyph.rawFont().advancesForGlyphIndexes(character.glyph.glyphIndexes()).constFirst().x();
    const QRectF box
        = QRectF(at.x(), 0, advance, m_lineHeight).united(character.glyph.boundingRect().translated(m_origin));
    character.place
        = QRect(QPoint(int(std::floor(box.left())) - 1, 0), QPoint(int(std::ceil(box.right())) + 1, height() - 1));
}

void ClockText::layOut()
{
    m_characters.clear();
    const QRect area = contentsRect();
    LaidOutLine laidOut;
    layOutLine(laidOut, m_text, font(), area.width());
    if (!laidOut.line.isValid())
        return;
    // Placed in its rectangle as a label places its one line.
    const qreal width = laidOut.line.naturalTextWidth();
    const qreal height = laidOut.line.height();
    m_lineHeight = height;
    qreal x = 0;
    if (m_alignment & Qt::AlignRight)
        x = area.width() - width;
    else if (m_alignment & Qt::AlignHCenter)
        x = (area.width() - width) / 2;
    qreal y = 0;
    if (m_alignment & Qt::AlignBottom)
        y = area.height() - height;
    else if (m_alignment & Qt::AlignVCenter)
        y = (area.height() - height) / 2;
    // A label's text sits on whole pixels vertically.
    m_origin = QPointF(area.x() + x, area.y() + qRound(y));
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        const QList<QGlyphRun> runs = laidOut.layout.glyphRuns(int(i), 1);
        Character character;
        if (runs.size() == 1 && !runs[0].glyphIndexes().isEmpty()) {
            character.glyph = runs[0];
            place(character);
        }
        m_characters.append(character);
    }
}

void ClockText::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setClipRect(contentsRect());
    for (const Character &character : std::as_const(m_characters))
        if (!character.glyph.isEmpty() && character.place.intersects(event->rect()))
            painter.drawGlyphRun(m_origin, character.glyph);
}

void ClockText::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_pairs.reset();
        layOut();
        update();
    }
}

void ClockText::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut();
}
