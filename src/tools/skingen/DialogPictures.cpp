#include "tools/skingen/Icons.h"
#include "tools/skingen/SkinPictures.h"

#include "core/skins/SkinLayout.h"

#include <QPainter>

using namespace SkinArt;
namespace L = SkinLayout;

namespace {

constexpr int kTitleHeight = 36;
constexpr qreal kCorner = 12;
const QColor kTint { 232, 236, 242 };
const QColor kTintBorder { 214, 220, 229 };

// A light dialog with rounded corners and a dark title strip; the painter is
// open until finish().
class DialogCanvas {
public:
    DialogCanvas(QSize size, const QString &title, qreal titleLeft = 18)
        : m_image(canvas(size))
        , m_painter(&m_image)
    {
        prepare(m_painter);
        const QRectF whole(0, 0, size.width(), size.height());
        m_body = roundedRect(whole, kCorner);
        fillGradient(m_painter, m_body, Colour::kDialogBody, QColor(232, 236, 242));
        m_painter.save();
        m_painter.setClipPath(m_body);
        fillGradient(m_painter, roundedRect(QRectF(0, 0, whole.width(), kTitleHeight), 0), Colour::kTitleTop,
            Colour::kTitleBottom);
        m_painter.setPen(QPen(QColor(20, 26, 34), 1));
        m_painter.drawLine(QPointF(0, kTitleHeight - 0.5), QPointF(whole.width(), kTitleHeight - 0.5));
        m_painter.restore();
        drawText(m_painter, QRectF(titleLeft, 0, whole.width() - titleLeft - 12, kTitleHeight), title, font(15, true),
            Colour::kLightText);
    }

    QPainter &painter() { return m_painter; }
    const QPainterPath &body() const { return m_body; }

    // A name left of (or over) a field.
    void label(const QRectF &box, const QString &text, Qt::Alignment alignment = Qt::AlignRight | Qt::AlignVCenter,
        bool bold = false)
    {
        drawText(m_painter, box, text, font(Look::kTextPixels, bold), Colour::kLabelText, alignment);
    }

    // A white sunken field behind an edit control or a value label.
    void field(const QRect &rect, const QColor &fill = Colour::kDialogField)
    {
        drawWell(m_painter, QRectF(rect).adjusted(-1, -1, 1, 1), fill, Colour::kDialogBorder, 3);
    }

    void panel(const QRectF &rect)
    {
        m_painter.setPen(QPen(kTintBorder, 1));
        m_painter.setBrush(kTint);
        m_painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    }

    void rule(qreal y, qreal left, qreal right)
    {
        m_painter.setPen(QPen(kTintBorder, 1));
        m_painter.drawLine(QPointF(left, y + 0.5), QPointF(right, y + 0.5));
    }

    QImage finish()
    {
        m_painter.setPen(QPen(Colour::kOutline, 1));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawPath(roundedRect(QRectF(m_image.rect()).adjusted(0.5, 0.5, -0.5, -0.5), kCorner - 0.5));
        m_painter.end();
        return cutWindow(m_image, Colour::kOutline);
    }

private:
    QImage m_image;
    QPainter m_painter;
    QPainterPath m_body;
};

QRect leftOf(const QRect &field, int width)
{
    return { field.left() - width - 10, field.top(), width, field.height() };
}

QImage editLogImage()
{
    namespace D = L::EditCallDialog;
    DialogCanvas dialog(D::kSize, QStringLiteral("Edit call"));
    const struct {
        QRect field;
        const char *name;
    } rows[] = { { D::ConnectionLabel, "Connection" }, { D::StartTimeEdit, "Start time" },
        { D::StartDateEdit, "Start date" }, { D::EndTimeEdit, "End time" }, { D::EndDateEdit, "End date" },
        { D::DurationEdit, "Duration" }, { D::CostEdit, "Cost" } };
    for (const auto &row : rows)
        dialog.label(leftOf(row.field, 110), QString::fromLatin1(row.name));
    dialog.rule(D::StartDatePanel.bottom() + 3, 20, D::kSize.width() - 20);
    dialog.rule(D::EndDatePanel.bottom() + 3, 20, D::kSize.width() - 20);
    return dialog.finish();
}

QImage settingsImage()
{
    namespace S = L::SettingsDialog;
    DialogCanvas dialog(S::kSize, QStringLiteral("Settings"));
    // The switches' labels are the dialog's own widgets: the start-up one differs by system.
    for (int i = 0; i < 9; ++i) {
        const int top = S::kFirstRowTop + i * S::kRowStep;
        if (i % 2 == 1) {
            dialog.painter().setPen(Qt::NoPen);
            dialog.painter().setBrush(QColor(230, 234, 240));
            dialog.painter().drawRoundedRect(QRectF(14, top - 4, S::kSize.width() - 28, S::kRowStep), 5, 5);
        }
    }
    dialog.field(S::UserCurrencySymbol);
    dialog.field(S::DefaultCurrencySymbol, QColor(226, 230, 236));
    dialog.rule(S::ButtonOkay.top() - 10, 20, S::kSize.width() - 20);
    return dialog.finish();
}

QImage providerImage()
{
    namespace P = L::ProviderDialog;
    DialogCanvas dialog(P::kSize, QStringLiteral("Provider account"));
    dialog.field(P::Heading);

    const int headingTop = P::kTodayTop - 20;
    dialog.label(
        QRectF(P::kDurationLeft, headingTop, P::kDurationWidth, 16), QStringLiteral("Duration"), Qt::AlignCenter, true);
    dialog.label(QRectF(P::kCurrencyLeft, headingTop, P::kCostLeft + P::kCostWidth - P::kCurrencyLeft, 16),
        QStringLiteral("Dial-up Connection Cost"), Qt::AlignCenter, true);
    dialog.label(QRectF(P::kCallsLeft, headingTop, P::kCallsWidth, 16), QStringLiteral("Calls"), Qt::AlignCenter, true);
    const struct {
        int top;
        const char *name;
    } rows[] = { { P::kTodayTop, "Today" }, { P::kMonthTop, "This Month" }, { P::kTodateTop, "Todate" } };
    for (const auto &row : rows) {
        drawText(dialog.painter(), QRectF(20, row.top, 120, P::kRowHeight), QString::fromLatin1(row.name),
            font(13, true), Colour::kDarkText);
        dialog.field(QRect(P::kDurationLeft, row.top, P::kDurationWidth, P::kRowHeight));
        dialog.field(QRect(P::kCostLeft, row.top, P::kCostWidth, P::kRowHeight));
        dialog.field(QRect(P::kCallsLeft, row.top, P::kCallsWidth, P::kRowHeight));
    }
    dialog.rule(P::kTodateTop + P::kRowHeight + 10, 20, P::kSize.width() - 20);

    const struct {
        QRect field;
        const char *name;
        bool computed;
    } account[] = { { P::ChargesTodate, "Charges Todate", true },
        { P::StartedOnEdit, "Started with Provider on", false }, { P::MonthlyFeeEdit, "Monthly Fee", false },
        { P::MonthStartDay, "Month starts on which day", false }, { P::HourLimitEdit, "Monthly limit of hours", false },
        { P::ExtraPerHourEdit, "For each hour after, add", false } };
    for (const auto &row : account) {
        dialog.label(QRectF(20, row.field.top(), 186, row.field.height()), QString::fromLatin1(row.name),
            Qt::AlignLeft | Qt::AlignVCenter, row.computed);
        dialog.field(row.field, row.computed ? QColor(224, 242, 245) : Colour::kDialogField);
    }
    dialog.painter().setPen(QPen(kTintBorder, 1));
    dialog.painter().drawLine(QPointF(P::ButtonEdit.left() - 14.5, P::ButtonEdit.top()),
        QPointF(P::ButtonEdit.left() - 14.5, P::ButtonClose.bottom()));

    dialog.rule(P::kSpendingRule, 20, P::kSize.width() - 20);
    const struct {
        QRect field;
        const char *name;
        bool computed;
    } spending[] = { { P::BillingMonth, "Billing month", true }, { P::BudgetMoney, "Budget each month", false },
        { P::AutoHangUp, "Hang up at 100 %", false }, { P::BillProjection, "Projected bill", true } };
    for (const auto &row : spending) {
        dialog.label(QRectF(20, row.field.top(), row.field.left() - 28, row.field.height()),
            QString::fromLatin1(row.name), Qt::AlignLeft | Qt::AlignVCenter, row.computed);
        if (row.field != P::AutoHangUp)
            dialog.field(row.field, row.computed ? QColor(224, 242, 245) : Colour::kDialogField);
    }
    dialog.label(QRectF(P::BudgetMoney.right() + 8, P::BudgetHours.top(),
                     P::BudgetHours.left() - P::BudgetMoney.right() - 14, P::BudgetHours.height()),
        QStringLiteral("hours"));
    dialog.label(QRectF(P::AutoHangUp.right() + 8, P::HangUpMargin.top(),
                     P::HangUpMargin.left() - P::AutoHangUp.right() - 14, P::HangUpMargin.height()),
        QStringLiteral("before next unit, s"));

    const struct {
        QRect field;
        const char *name;
    } data[] = { { P::DataAllowance, "Data each month" }, { P::DataBlock, "Beyond it, blocks of" } };
    for (const auto &row : data) {
        dialog.label(QRectF(20, row.field.top(), row.field.left() - 28, row.field.height()),
            QString::fromLatin1(row.name), Qt::AlignLeft | Qt::AlignVCenter, false);
        dialog.field(row.field, Colour::kDialogField);
    }
    dialog.field(P::DataBlockPrice, Colour::kDialogField);
    dialog.label(QRectF(P::DataAllowanceUnit.right() + 8, P::DataCounts.top(),
                     P::DataCounts.left() - P::DataAllowanceUnit.right() - 14, P::DataCounts.height()),
        QStringLiteral("counts"));
    dialog.label(QRectF(P::DataBlockUnit.right() + 8, P::DataCurrency.top(),
                     P::DataCurrency.left() - P::DataBlockUnit.right() - 8, P::DataCurrency.height()),
        QStringLiteral("at"));
    return dialog.finish();
}

QImage connectionImage()
{
    namespace C = L::ConnectDialog;
    DialogCanvas dialog(C::kSize, QStringLiteral("Dialling"));
    dialog.field(C::ConnectionName);
    QPainter &painter = dialog.painter();
    drawWell(painter, QRectF(C::GIFAnimation).adjusted(-2, -2, 2, 2), Colour::kWell, Colour::kWellBorder, 6);
    drawWell(painter, QRectF(C::ListBox1).adjusted(-2, -2, 2, 2), QColor(0, 0, 0), Colour::kWellBorder, 4);
    // GTabButton1 has no images of its own: the look of a cancel button lies under it.
    drawLookButton(painter, QRectF(C::GTabButton1), ButtonState::Up, Look::ButtonSize::Large, QStringLiteral("Cancel"));
    return dialog.finish();
}

QImage tariffImage()
{
    namespace T = L::TariffEditor;
    DialogCanvas dialog(T::kSize, QStringLiteral("Tariffs"), T::kNoDragCorner.right() + 12);
    QPainter &painter = dialog.painter();
    // The badge in the corner that does not drag the window.
    painter.save();
    painter.setClipPath(dialog.body());
    painter.fillRect(T::kNoDragCorner, Colour::kAccent);
    painter.setPen(QPen(Colour::kAccentDown, 1));
    painter.drawLine(QPointF(T::kNoDragCorner.right() + 0.5, 0), QPointF(T::kNoDragCorner.right() + 0.5, 35));
    painter.restore();
    Icons::priceTag(painter, QRectF(T::kNoDragCorner).adjusted(15, 8, -15, -8), QColor(252, 253, 255));

    const struct {
        QRect field;
        const char *name;
    } rows[] = { { T::NameField, "Name of Tariff" }, { T::StartLabel, "Start charging at" },
        { T::FinishLabel, "Finish charging at" }, { T::UnitLabel, "A charging unit is" },
        { T::SecondsPerPulse, "Seconds per pulse" }, { T::ChargeLabel, "Type of Charge" },
        { T::MinCharge, "Minimum charge" } };
    for (const auto &row : rows) {
        dialog.label(QRectF(24, row.field.top(), 128, row.field.height()), QString::fromLatin1(row.name));
        dialog.field(row.field);
    }
    dialog.field(T::UnitCost);
    dialog.label(QRectF(24, T::ColourStrip.top(), 128, T::ColourStrip.height()), QStringLiteral("Colour"));
    dialog.field(T::ColourSwatch);
    dialog.field(T::ColourStrip);

    dialog.panel(QRectF(T::kKindLeft - 8, T::AppliesToHeading.top() - 2, T::kKindOneRight + 12 - T::kKindLeft,
        T::EraToPicker.bottom() + 5 - T::AppliesToHeading.top()));
    dialog.label(T::AppliesToHeading, QStringLiteral("Applies to"), Qt::AlignLeft | Qt::AlignVCenter, true);
    for (const QRect &field :
        { T::DaysLabel, T::DayLabel, T::MonthLabel, T::YearLabel, T::DatePicker, T::EraFromPicker, T::EraToPicker })
        dialog.field(field);
    dialog.label(
        QRectF(T::EraToPicker.left() - 52, T::EraToPicker.top(), 46, T::EraToPicker.height()), QStringLiteral("to"));

    drawWell(painter, QRectF(T::Grid).adjusted(-2, -2, 2, 2), QColor(255, 255, 255), Colour::kDialogBorder, 3);
    drawWell(painter, QRectF(T::Slider).adjusted(-1, -2, 2, 2), kTint, Colour::kDialogBorder, 3);
    dialog.panel(QRectF(T::kButtonLeft - 8, T::kButtonFirstTop - 8, T::kButtonSize.width() + 16,
        5 * T::kButtonStep + T::kButtonSize.height() + 16));
    return dialog.finish();
}

} // namespace

void SkinPictures::drawDialogs(SkinSet &skin)
{
    skin.insert(QStringLiteral("EditLog"), editLogImage());
    skin.insert(QStringLiteral("Settings"), settingsImage());
    skin.insert(QStringLiteral("Provider"), providerImage());
    skin.insert(QStringLiteral("connection"), connectionImage());
    skin.insert(QStringLiteral("Tariff"), tariffImage());
}
