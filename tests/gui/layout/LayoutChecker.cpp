#include "LayoutChecker.h"

#include "gui/controls/TCutTransImage.h"
#include "gui/controls/TGShape.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableView>
#include <QTextDocument>

namespace {

QString nameOf(const QWidget &widget)
{
    const QString name = widget.objectName();
    return QStringLiteral("%1 '%2'").arg(
        QString::fromLatin1(widget.metaObject()->className()), name.isEmpty() ? QStringLiteral("?") : name);
}

// A text cut on purpose, with the whole of it in the hint.
bool elidedWithHint(const QString &text, const QString &hint)
{
    return text.contains(QChar(0x2026)) && !hint.isEmpty();
}

// Composite controls are measured as a whole; their inner parts are theirs.
bool measuredWhole(const QWidget &widget)
{
    return qobject_cast<const QAbstractSpinBox *>(&widget) || qobject_cast<const QComboBox *>(&widget)
        || qobject_cast<const QAbstractItemView *>(&widget) || qobject_cast<const QCalendarWidget *>(&widget);
}

bool isBackdrop(const QWidget &widget)
{
    return qobject_cast<const TCutTransImage *>(&widget) || qobject_cast<const TGShape *>(&widget)
        || (widget.parentWidget() && widget.geometry() == widget.parentWidget()->rect());
}

// Blanks padding a line take room too, as an indent does.
int widestLine(const QFontMetrics &metrics, const QString &text, bool padded = false)
{
    int widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(padded ? line : line.trimmed()));
    return widest;
}

QString withoutAccelerator(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    return text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

} // namespace

void LayoutChecker::allowOverlap(const QString &first, const QString &second) { m_overlaps.append({ first, second }); }

void LayoutChecker::allowUnderlay(const QString &name) { m_underlays.append(name); }

void LayoutChecker::setPaintedTexts(const QStringList &texts) { m_paintedTexts = texts; }

QStringList LayoutChecker::check(QWidget &window) const
{
    QStringList faults;
    QList<QWidget *> measured;
    for (QWidget *widget : window.findChildren<QWidget *>()) {
        if (widget->isWindow() || !widget->isVisibleTo(&window))
            continue;
        bool inner = false;
        for (QWidget *up = widget->parentWidget(); up && up != &window; up = up->parentWidget())
            inner = inner || measuredWhole(*up) || up->isWindow();
        if (!inner)
            measured.append(widget);
    }
    for (QWidget *widget : measured)
        checkWidget(window, *widget, faults);
    checkSiblings(window, faults);
    for (QWidget *widget : measured)
        if (!measuredWhole(*widget))
            checkSiblings(*widget, faults);
    for (QString &fault : faults)
        fault.prepend(nameOf(window) + QStringLiteral(": "));
    return faults;
}

void LayoutChecker::checkWidget(QWidget &window, QWidget &widget, QStringList &faults) const
{
    const QRect inWindow(widget.mapTo(&window, QPoint(0, 0)), widget.size());
    if (!window.rect().contains(inWindow))
        faults << QStringLiteral("%1 lies outside its window").arg(nameOf(widget));

    if (auto *label = qobject_cast<QLabel *>(&widget)) {
        QString text = label->text();
        if (label->textFormat() == Qt::RichText || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text))) {
            QTextDocument document;
            document.setHtml(text);
            text = document.toPlainText();
        }
        checkText(widget, text, faults);
        if (text.trimmed().isEmpty() || elidedWithHint(text, label->toolTip()))
            return;
        const QRect room
            = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
        const QFontMetrics metrics(label->font());
        if (label->wordWrap()) {
            const QRect needed = metrics.boundingRect(room, int(label->alignment()) | Qt::TextWordWrap, text);
            if (needed.height() > room.height() || needed.width() > room.width())
                faults << QStringLiteral("%1: \"%2\" needs %3 x %4, has %5 x %6")
                              .arg(nameOf(widget), text.simplified())
                              .arg(needed.width())
                              .arg(needed.height())
                              .arg(room.width())
                              .arg(room.height());
            return;
        }
        const int lines = int(text.count(QLatin1Char('\n'))) + 1;
        const int indent = label->indent() > 0 ? label->indent() : 0;
        const int width = widestLine(metrics, text, true) + indent;
        const int height = metrics.height() * lines;
        if (width > room.width() || height > room.height())
            faults << QStringLiteral("%1: \"%2\" needs %3 x %4, has %5 x %6")
                          .arg(nameOf(widget), text.simplified())
                          .arg(width)
                          .arg(height)
                          .arg(room.width())
                          .arg(room.height());
        return;
    }

    if (auto *button = qobject_cast<QAbstractButton *>(&widget)) {
        const QString text = withoutAccelerator(button->text());
        checkText(widget, text, faults);
        if (text.trimmed().isEmpty() || elidedWithHint(text, button->toolTip()))
            return;
        QRect room = button->contentsRect().adjusted(2, 0, -2, 0);
        if (qobject_cast<QRadioButton *>(button) || qobject_cast<QCheckBox *>(button)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = text;
            const bool radio = qobject_cast<QRadioButton *>(button);
            room = button->style()->subElementRect(
                radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, button);
        }
        const QFontMetrics metrics(button->font());
        const int width = widestLine(metrics, text);
        const int height = metrics.height() * int(text.count(QLatin1Char('\n')) + 1);
        if (width > room.width() || height > button->height())
            faults << QStringLiteral("%1: \"%2\" needs %3 x %4, has %5 x %6")
                          .arg(nameOf(widget), text.simplified())
                          .arg(width)
                          .arg(height)
                          .arg(room.width())
                          .arg(button->height());
        return;
    }

    if (auto *edit = qobject_cast<QLineEdit *>(&widget)) {
        checkText(widget, edit->displayText(), faults);
        if (!edit->isReadOnly())
            return; // a field being typed in scrolls its text
        const QMargins margins = edit->textMargins();
        const int frame = edit->hasFrame() ? 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        const int room = edit->contentsRect().width() - margins.left() - margins.right() - frame - 4;
        const int width = QFontMetrics(edit->font()).horizontalAdvance(edit->displayText().trimmed());
        if (width > room)
            faults << QStringLiteral("%1: \"%2\" needs %3, has %4")
                          .arg(nameOf(widget), edit->displayText())
                          .arg(width)
                          .arg(room);
        return;
    }

    if (auto *spin = qobject_cast<QAbstractSpinBox *>(&widget)) {
        if (const auto *edit = spin->findChild<QLineEdit *>()) {
            const int width = QFontMetrics(edit->font()).horizontalAdvance(edit->displayText().trimmed());
            if (width > edit->width() - 4)
                faults << QStringLiteral("%1: \"%2\" needs %3, has %4")
                              .arg(nameOf(widget), edit->displayText())
                              .arg(width)
                              .arg(edit->width() - 4);
        }
        return;
    }

    if (auto *table = qobject_cast<QTableView *>(&widget)) {
        const QAbstractItemModel *model = table->model();
        if (!model)
            return;
        const int viewWidth = table->viewport()->width();
        const int viewHeight = table->viewport()->height();
        for (int column = 0; column < model->columnCount(); ++column) {
            if (table->isColumnHidden(column))
                continue;
            const int left = table->columnViewportPosition(column);
            const int width = table->columnWidth(column);
            if (left + width > viewWidth)
                faults << QStringLiteral("%1: column %2 ends at %3, past the grid's %4")
                              .arg(nameOf(widget))
                              .arg(column)
                              .arg(left + width)
                              .arg(viewWidth);
            // A grid's headers may repeat the painted names of the fields.
            const QString header = model->headerData(column, Qt::Horizontal).toString();
            if (header.contains(QStringLiteral("( )")) || header.contains(QStringLiteral("()")))
                faults << QStringLiteral("%1: \"%2\" shows empty brackets").arg(nameOf(widget), header);
            const QFontMetrics headerMetrics(table->horizontalHeader()->font());
            const int headerNeeds = headerMetrics.horizontalAdvance(header.trimmed()) + 4;
            if (headerNeeds > width)
                faults << QStringLiteral("%1: header \"%2\" needs %3, column %4 has %5")
                              .arg(nameOf(widget), header)
                              .arg(headerNeeds)
                              .arg(column)
                              .arg(width);
            for (int row = 0; row < model->rowCount(); ++row) {
                if (table->rowViewportPosition(row) > viewHeight)
                    break;
                const QModelIndex index = model->index(row, column);
                const QString text = index.data().toString();
                const QVariant font = index.data(Qt::FontRole);
                const QFontMetrics metrics(font.isValid() ? font.value<QFont>() : table->font());
                // The grid cuts a name whose hint holds it whole.
                if (text.trimmed().isEmpty() || index.data(Qt::ToolTipRole).toString() == text)
                    continue;
                const int needed = metrics.horizontalAdvance(text.trimmed()) + 3; // the grid's own margins
                if (needed > width) {
                    faults << QStringLiteral("%1: cell \"%2\" needs %3, column %4 has %5")
                                  .arg(nameOf(widget), text.trimmed())
                                  .arg(needed)
                                  .arg(column)
                                  .arg(width);
                    break; // one cell tells of the column
                }
            }
        }
    }
}

void LayoutChecker::checkText(QWidget &widget, const QString &text, QStringList &faults) const
{
    if (text.contains(QStringLiteral("( )")) || text.contains(QStringLiteral("()")))
        faults << QStringLiteral("%1: \"%2\" shows empty brackets").arg(nameOf(widget), text);
    if (!text.trimmed().isEmpty() && m_paintedTexts.contains(text.trimmed()))
        faults << QStringLiteral("%1: \"%2\" is painted by the picture already").arg(nameOf(widget), text.trimmed());
}

bool LayoutChecker::overlapAllowed(const QWidget &a, const QWidget &b) const
{
    if (isBackdrop(a) || isBackdrop(b) || m_underlays.contains(a.objectName()) || m_underlays.contains(b.objectName()))
        return true;
    for (const auto &pair : m_overlaps)
        if ((pair.first == a.objectName() && pair.second == b.objectName())
            || (pair.first == b.objectName() && pair.second == a.objectName()))
            return true;
    return false;
}

void LayoutChecker::checkSiblings(QWidget &parent, QStringList &faults) const
{
    QList<QWidget *> shown;
    for (QObject *child : parent.children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget && !widget->isWindow() && widget->isVisibleTo(&parent))
            shown.append(widget);
    }
    for (qsizetype i = 0; i < shown.size(); ++i)
        for (qsizetype j = i + 1; j < shown.size(); ++j)
            if (shown[i]->geometry().intersects(shown[j]->geometry()) && !overlapAllowed(*shown[i], *shown[j]))
                faults << QStringLiteral("%1 overlaps %2").arg(nameOf(*shown[i]), nameOf(*shown[j]));
}
