#include "LayoutChecker.h"

#include "core/skins/Look.h"
#include "gui/controls/TCutTransImage.h"
#include "gui/controls/TGShape.h"
#include "gui/controls/TGTextButton.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableView>
#include <QTextDocument>
#include <QToolButton>

#include <cmath>
#include <optional>

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
        || qobject_cast<const QAbstractItemView *>(&widget) || qobject_cast<const QCalendarWidget *>(&widget)
        || qobject_cast<const QAbstractScrollArea *>(&widget);
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

// The text a control shows, where it shows one.
QString shownText(const QWidget &widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(&widget))
        return label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(&widget))
        return button->text();
    if (const auto *edit = qobject_cast<const QLineEdit *>(&widget))
        return edit->displayText();
    return {};
}

double luminance(QRgb colour)
{
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(colour)) + 0.7152 * channel(qGreen(colour)) + 0.0722 * channel(qBlue(colour));
}

// Where a single-line label's text is inked, in its parent's coordinates.
std::pair<int, int> inkSpan(const QLabel &label)
{
    const QRect room = label.contentsRect().adjusted(label.margin(), 0, -label.margin(), 0);
    const int indent = std::max(0, label.indent());
    // Blanks that pad the text take room but leave no ink.
    const QFontMetrics metrics(label.font());
    const QString text = label.text();
    qsizetype blanks = 0;
    while (blanks < text.size() && text.at(blanks).isSpace())
        ++blanks;
    const int leading = metrics.horizontalAdvance(text.left(blanks));
    const int width = std::min(room.width(), metrics.horizontalAdvance(text));
    const Qt::Alignment alignment = label.alignment();
    int left = room.left() + indent;
    if (alignment & Qt::AlignRight)
        left = room.right() + 1 - indent - width;
    else if (alignment & Qt::AlignHCenter)
        left = room.left() + (room.width() - width) / 2;
    left = std::max(left, room.left());
    const int inked = metrics.horizontalAdvance(text.trimmed());
    const int from = std::min(left + leading, left + width);
    return { label.x() + from, label.x() + std::min(from + inked, left + width) };
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
    const QImage picture = window.grab().toImage();
    for (QWidget *widget : measured) {
        checkWidget(window, *widget, faults);
        const QString text = shownText(*widget);
        if (widget->isEnabled() && !text.trimmed().isEmpty())
            checkInk(picture, window, *widget, widget->rect(), QStringLiteral("\"%1\"").arg(text.simplified()), faults);
    }
    checkCalendars(window, picture, faults);
    checkSiblings(window, faults);
    checkTextGaps(window, faults);
    for (QWidget *widget : measured)
        if (!measuredWhole(*widget)) {
            checkSiblings(*widget, faults);
            checkTextGaps(*widget, faults);
        }
    checkReach(window, faults);
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

    if (auto *area = qobject_cast<QScrollArea *>(&widget)) {
        // What scrolls must scroll up and down only, every line whole across.
        const auto *label = qobject_cast<QLabel *>(area->widget());
        if (!label || label->text().isEmpty())
            return;
        const QString text = label->text();
        const int room = area->viewport()->width() - 2 * label->margin();
        const int width = widestLine(QFontMetrics(label->font()), text);
        if (width > room && !elidedWithHint(text, label->toolTip()))
            faults << QStringLiteral("%1: \"%2\" needs %3, has %4")
                          .arg(nameOf(widget), text.simplified())
                          .arg(width)
                          .arg(room);
        if (label->height() > area->viewport()->height() && area->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff)
            faults << QStringLiteral("%1 cannot scroll to all its lines").arg(nameOf(widget));
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
    const int pixels = QFontInfo(widget.font()).pixelSize();
    if (!text.trimmed().isEmpty() && pixels < kSmallestPixels)
        faults
            << QStringLiteral("%1: \"%2\" is drawn %3 pixels high").arg(nameOf(widget), text.simplified()).arg(pixels);
    const QString family = QFontInfo(widget.font()).family();
    if (!text.trimmed().isEmpty() && family != QLatin1String(Look::kFontFamily))
        faults << QStringLiteral("%1: \"%2\" is drawn in %3").arg(nameOf(widget), text.simplified(), family);
    if (const auto *button = qobject_cast<const TGTextButton *>(&widget)) {
        const TextButtonAppearance &look = button->appearance();
        if (look.Radius != Look::kButtonRadius || look.ColorHot != QColor::fromRgb(Look::kButtonHot.fill)
            || look.DisabledOpacity != Look::kDisabledOpacity)
            faults << QStringLiteral("%1: a button of another kind").arg(nameOf(widget));
    }
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

double LayoutChecker::contrast(QRgb a, QRgb b)
{
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

// The commonest colour of the area is its background; the text is the pixel
// that stands out from it most.
void LayoutChecker::checkInk(const QImage &picture, const QWidget &window, const QWidget &widget, const QRect &area,
    const QString &what, QStringList &faults) const
{
    const qreal ratio = picture.devicePixelRatio();
    const QRect inWindow(widget.mapTo(&window, area.topLeft()), area.size());
    const QRect pixels = QRect(QPoint(qRound(inWindow.x() * ratio), qRound(inWindow.y() * ratio)),
                             QSize(qRound(inWindow.width() * ratio), qRound(inWindow.height() * ratio)))
        & picture.rect();
    if (pixels.isEmpty())
        return;
    QHash<QRgb, int> counts;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            ++counts[picture.pixel(x, y) | 0xff000000];
    QRgb background = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    double best = 1.0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, contrast(it.key(), background));
    if (best < kLeastContrast)
        faults << QStringLiteral("%1: %2 stands out from its background %3:1 only")
                      .arg(nameOf(widget), what, QString::number(best, 'f', 1));
}

void LayoutChecker::checkCalendars(QWidget &window, const QImage &picture, QStringList &faults) const
{
    QList<QCalendarWidget *> calendars = window.findChildren<QCalendarWidget *>();
    if (auto *self = qobject_cast<QCalendarWidget *>(&window))
        calendars.append(self);
    for (QCalendarWidget *calendar : calendars) {
        if (!calendar->isVisible() || calendar->window() != &window)
            continue;
        const auto *view = calendar->findChild<QTableView *>();
        if (!view || !view->model())
            continue;
        const QAbstractItemModel &model = *view->model();
        // The weekday names, and a week of days.
        for (const int row : { 0, 3 })
            for (int column = 0; column < model.columnCount(); ++column) {
                const QModelIndex index = model.index(row, column);
                if (index.data().toString().isEmpty())
                    continue;
                checkInk(picture, window, *view->viewport(), view->visualRect(index),
                    QStringLiteral("\"%1\"").arg(index.data().toString()), faults);
            }
        for (auto *button : calendar->findChildren<QToolButton *>())
            if (button->isVisible() && !button->text().isEmpty())
                checkInk(
                    picture, window, *button, button->rect(), QStringLiteral("\"%1\"").arg(button->text()), faults);
    }
}

void LayoutChecker::checkTextGaps(QWidget &parent, QStringList &faults) const
{
    constexpr int kLeastGap = 6;
    QList<QLabel *> labels;
    for (QObject *child : parent.children()) {
        auto *label = qobject_cast<QLabel *>(child);
        if (label && label->isVisibleTo(&parent) && !label->wordWrap() && !label->text().trimmed().isEmpty()
            && !label->text().contains(QLatin1Char('\n')) && label->textFormat() != Qt::RichText)
            labels.append(label);
    }
    for (qsizetype i = 0; i < labels.size(); ++i)
        for (qsizetype j = i + 1; j < labels.size(); ++j) {
            const QRect a = labels[i]->geometry();
            const QRect b = labels[j]->geometry();
            if (a.bottom() < b.top() || b.bottom() < a.top())
                continue;
            auto first = inkSpan(*labels[i]);
            auto second = inkSpan(*labels[j]);
            if (first.first > second.first)
                std::swap(first, second);
            if (second.first - first.second < kLeastGap)
                faults << QStringLiteral("%1 runs into %2").arg(nameOf(*labels[i]), nameOf(*labels[j]));
        }
}

// Only on a screen a user could have: the offscreen default is smaller.
void LayoutChecker::checkReach(QWidget &window, QStringList &faults) const
{
    const QScreen *screen = window.screen();
    if (!screen || !window.isVisible())
        return;
    const QRect available = screen->availableGeometry();
    // Counted in the screen's own pixels: at scale 2 a 1280 x 1024 screen holds 640 x 512.
    const QSizeF pixels = QSizeF(available.size()) * screen->devicePixelRatio();
    if (pixels.width() < 1024 || pixels.height() < 768)
        return;
    const QRect frame = window.frameGeometry();
    if (!available.contains(frame))
        faults << QStringLiteral("%1 at %2,%3 %4 x %5 reaches past the screen's %6 x %7")
                      .arg(nameOf(window))
                      .arg(frame.x())
                      .arg(frame.y())
                      .arg(frame.width())
                      .arg(frame.height())
                      .arg(available.width())
                      .arg(available.height());
}

QStringList LayoutChecker::checkMenu(QMenu &menu, const QWidget *field) const
{
    QStringList faults;
    if (!menu.isVisible())
        return { nameOf(menu) + QStringLiteral(" is not open") };
    const QRect frame = menu.geometry();
    if (const QScreen *screen = menu.screen(); screen && !screen->availableGeometry().contains(frame))
        faults << QStringLiteral("%1 at %2,%3 %4 x %5 reaches past the screen")
                      .arg(nameOf(menu))
                      .arg(frame.x())
                      .arg(frame.y())
                      .arg(frame.width())
                      .arg(frame.height());
    if (field && menu.width() < field->width())
        faults << QStringLiteral("%1 is %2 wide under the %3 of %4")
                      .arg(nameOf(menu))
                      .arg(menu.width())
                      .arg(nameOf(*field))
                      .arg(field->width());
    const QFontMetrics metrics(menu.font());
    std::optional<int> column;
    for (QAction *action : menu.actions()) {
        if (action->isSeparator() || !action->isVisible())
            continue;
        const QRect item = menu.actionGeometry(action);
        if (!column)
            column = item.x();
        else if (item.x() != *column) {
            faults << QStringLiteral("%1 stands in more than one column").arg(nameOf(menu));
            break;
        }
        const QString text = withoutAccelerator(action->text());
        checkText(menu, text, faults);
        if (elidedWithHint(text, action->toolTip()) && action->toolTip() != text)
            continue;
        const int needed = metrics.horizontalAdvance(text) + 10; // the item's margins
        if (needed > item.width())
            faults
                << QStringLiteral("%1: \"%2\" needs %3, has %4").arg(nameOf(menu), text).arg(needed).arg(item.width());
    }
    return faults;
}
