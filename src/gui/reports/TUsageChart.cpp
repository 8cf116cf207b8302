#include "gui/reports/TUsageChart.h"

#include "core/skins/SkinLayout.h"
#include "gui/controls/SkinLook.h"
#include "gui/controls/TGTextButton.h"
#include "gui/controls/WindowDragger.h"
#include "gui/reports/UsageChartView.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

#include <utility>

namespace {

namespace Layout = SkinLayout::UsageChartWindow;

const QColor kOutline(14, 19, 26);
const QColor kWell(11, 16, 22);
const QColor kWellBorder(70, 84, 102);
const QString kFiguresHint = QStringLiteral("Click a bar to see its figures.");

void colourText(QLabel *label, QRgb colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(colour));
    label->setPalette(palette);
}

} // namespace

TUsageChart::TUsageChart(
    QList<ReportCall> calls, const QString &shown, const QDate &today, QString currencyText, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_calls(std::move(calls))
    , m_currencyText(std::move(currencyText))
    , m_month(today.year(), today.month(), 1)
{
    setObjectName(QStringLiteral("TUsageChart"));
    setWindowTitle(QStringLiteral("Usage: %1").arg(shown));
    setFixedSize(Layout::kSize);
    new WindowDragger(this);

    auto makeButton = [this](const char *name, const QString &caption, const QRect &rect) {
        auto *button = new TGTextButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setText(caption);
        SkinLook::styleButton(button, Look::ButtonSize::Small);
        button->setGeometry(rect);
        return button;
    };
    ButtonClose = makeButton("ButtonClose", QStringLiteral("Close"), Layout::ButtonClose);
    ButtonPrevious = makeButton("ButtonPrevious", QString(QChar(0x25C0)), Layout::ButtonPrevious);
    ButtonNext = makeButton("ButtonNext", QString(QChar(0x25B6)), Layout::ButtonNext);
    ButtonMonth = makeButton("ButtonMonth", QStringLiteral("Month"), Layout::ButtonMonth);
    ButtonYear = makeButton("ButtonYear", QStringLiteral("Year"), Layout::ButtonYear);
    ButtonCostTime = makeButton("ButtonCostTime", QStringLiteral("Cost, time"), Layout::ButtonCostTime);
    ButtonData = makeButton("ButtonData", QStringLiteral("Data"), Layout::ButtonData);
    ButtonPrevious->setToolTip(QStringLiteral("The month or year before"));
    ButtonNext->setToolTip(QStringLiteral("The month or year after"));
    ButtonMonth->setToolTip(QStringLiteral("One bar per day of the month"));
    ButtonYear->setToolTip(QStringLiteral("One bar per month of the year"));
    ButtonCostTime->setToolTip(QStringLiteral("Cost above, connected time below"));
    ButtonData->setToolTip(QStringLiteral("Data received above, sent below"));
    connect(ButtonClose, &TGTextButton::clicked, this, &QDialog::accept);
    connect(ButtonPrevious, &TGTextButton::clicked, this, &TUsageChart::ButtonPreviousClick);
    connect(ButtonNext, &TGTextButton::clicked, this, &TUsageChart::ButtonNextClick);
    connect(ButtonMonth, &TGTextButton::clicked, this, [this] { showMonth(m_month.year(), m_month.month()); });
    connect(ButtonYear, &TGTextButton::clicked, this, [this] { showYear(m_month.year()); });
    connect(ButtonCostTime, &TGTextButton::clicked, this, [this] { showPlots(UsageChartPlots::CostAndTime); });
    connect(ButtonData, &TGTextButton::clicked, this, [this] { showPlots(UsageChartPlots::Data); });

    LabelPeriod = new QLabel(this);
    LabelPeriod->setObjectName(QStringLiteral("LabelPeriod"));
    LabelPeriod->setGeometry(Layout::LabelPeriod);
    LabelPeriod->setAlignment(Qt::AlignCenter);
    LabelPeriod->setFont(SkinLook::font(14, true));
    colourText(LabelPeriod, SkinLayout::kLightText);

    ChartView = new UsageChartView(this);
    ChartView->setObjectName(QStringLiteral("ChartView"));
    ChartView->setGeometry(Layout::ChartView);
    connect(ChartView, &UsageChartView::barClicked, this, &TUsageChart::ChartViewBarClick);

    FiguresArea = new QScrollArea(this);
    FiguresArea->setObjectName(QStringLiteral("FiguresArea"));
    FiguresArea->setGeometry(Layout::LabelFigures.adjusted(10, 6, -4, -6));
    FiguresArea->setFrameShape(QFrame::NoFrame);
    FiguresArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FiguresArea->setWidgetResizable(true);
    // The painted well shows through.
    FiguresArea->setAutoFillBackground(false);
    FiguresArea->viewport()->setAutoFillBackground(false);
    LabelFigures = new QLabel;
    LabelFigures->setObjectName(QStringLiteral("LabelFigures"));
    LabelFigures->setTextFormat(Qt::PlainText);
    LabelFigures->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabelFigures->setFont(SkinLook::font(12, false));
    colourText(LabelFigures, SkinLayout::kLcdText);
    FiguresArea->setWidget(LabelFigures);
    LabelFigures->setAutoFillBackground(false); // the area turned it on
    // A scroll bar in the colours of the dark body.
    QPalette dark = FiguresArea->verticalScrollBar()->palette();
    dark.setColor(QPalette::Window, kWell);
    dark.setColor(QPalette::Base, kWell);
    dark.setColor(QPalette::Button, kWellBorder);
    dark.setColor(QPalette::Dark, kWellBorder);
    dark.setColor(QPalette::ButtonText, QColor::fromRgb(SkinLayout::kLightText));
    FiguresArea->verticalScrollBar()->setPalette(dark);

    showMonth(m_month.year(), m_month.month());
}

void TUsageChart::showMonth(int year, int month)
{
    const QDate first(year, month, 1);
    if (!first.isValid())
        return;
    m_month = first;
    m_yearShown = false;
    refresh();
}

void TUsageChart::showYear(int year)
{
    const QDate first(year, m_month.month(), 1);
    if (!first.isValid())
        return;
    m_month = first;
    m_yearShown = true;
    refresh();
}

void TUsageChart::showPlots(UsageChartPlots plots)
{
    m_plots = plots;
    refresh();
}

void TUsageChart::ButtonPreviousClick()
{
    const QDate before = m_yearShown ? m_month.addYears(-1) : m_month.addMonths(-1);
    m_yearShown ? showYear(before.year()) : showMonth(before.year(), before.month());
}

void TUsageChart::ButtonNextClick()
{
    const QDate after = m_yearShown ? m_month.addYears(1) : m_month.addMonths(1);
    m_yearShown ? showYear(after.year()) : showMonth(after.year(), after.month());
}

void TUsageChart::refresh()
{
    UsageChart chart = m_yearShown ? yearUsageChart(m_calls, m_month.year())
                                   : monthUsageChart(m_calls, m_month.year(), m_month.month());
    LabelPeriod->setText(chart.title);
    // The chart names its period above, and the label already does.
    chart.title.clear();
    chart.plots = m_plots;
    ChartView->setChart(std::move(chart));
    showFigures(kFiguresHint);
    // The period shown is marked like a pressed button.
    const TextButtonAppearance plain = SkinLook::textButton();
    TextButtonAppearance chosen = plain;
    chosen.Color = plain.ColorDown;
    chosen.FontColor = plain.FontDownColor;
    chosen.FrameUpColor = plain.FrameDownColor;
    ButtonMonth->setAppearance(m_yearShown ? plain : chosen);
    ButtonYear->setAppearance(m_yearShown ? chosen : plain);
    const bool dataShown = m_plots == UsageChartPlots::Data;
    ButtonCostTime->setAppearance(dataShown ? plain : chosen);
    ButtonData->setAppearance(dataShown ? chosen : plain);
}

void TUsageChart::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Left)
        ButtonPreviousClick();
    else if (event->key() == Qt::Key_Right)
        ButtonNextClick();
    else
        QDialog::keyPressEvent(event);
}

void TUsageChart::ChartViewBarClick(int bar) { showFigures(ChartView->barFigures(bar, m_currencyText)); }

// A long provider name gives way, never its figures after the last ": ";
// the hint has every line whole.
void TUsageChart::showFigures(const QString &figures)
{
    const int room = FiguresArea->width() - FiguresArea->verticalScrollBar()->sizeHint().width() - 4;
    const QFontMetrics metrics(LabelFigures->font());
    QStringList lines = figures.split(QLatin1Char('\n'));
    bool cut = false;
    for (QString &line : lines) {
        if (metrics.horizontalAdvance(line) <= room)
            continue;
        cut = true;
        const qsizetype split = line.lastIndexOf(QStringLiteral(": "));
        if (split > 0) {
            const QString tail = line.mid(split);
            line = metrics.elidedText(line.left(split), Qt::ElideRight, room - metrics.horizontalAdvance(tail)) + tail;
        }
        line = metrics.elidedText(line, Qt::ElideRight, room);
    }
    LabelFigures->setText(lines.join(QLatin1Char('\n')));
    LabelFigures->setToolTip(cut ? figures : QString());
    FiguresArea->verticalScrollBar()->setValue(0);
}

void TUsageChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect whole = rect();
    QLinearGradient body(0, 0, 0, whole.height());
    body.setColorAt(0, QColor(44, 55, 69));
    body.setColorAt(1, QColor(30, 38, 49));
    painter.fillRect(whole, body);
    QLinearGradient title(0, 0, 0, Layout::kTitleHeight);
    title.setColorAt(0, QColor(60, 73, 90));
    title.setColorAt(1, QColor(46, 57, 71));
    painter.fillRect(QRect(0, 0, whole.width(), Layout::kTitleHeight), title);
    painter.setFont(SkinLook::font(16, true));
    painter.setPen(QColor::fromRgb(SkinLayout::kLightText));
    const QRect titleRect(16, 0, Layout::ButtonClose.left() - 24, Layout::kTitleHeight);
    painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter,
        painter.fontMetrics().elidedText(windowTitle(), Qt::ElideRight, titleRect.width()));

    painter.setPen(kWellBorder);
    painter.setBrush(kWell);
    painter.drawRoundedRect(QRectF(Layout::LabelFigures).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(Layout::ChartView.adjusted(-1, -1, 0, 0));
    painter.setPen(kOutline);
    painter.drawRect(whole.adjusted(0, 0, -1, -1));
}
