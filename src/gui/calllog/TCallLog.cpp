#include "gui/calllog/TCallLog.h"

#include "core/app/AppCore.h"
#include "core/calllog/CallLogCells.h"
#include "core/calllog/CallLogEdits.h"
#include "core/calllog/CallLogFill.h"
#include "core/calllog/CallLogRows.h"
#include "core/skins/SkinLayout.h"
#include "core/skins/SkinLibrary.h"
#include "core/windowlogic/WindowOutline.h"
#include "gui/calllog/CallLogDelegate.h"
#include "gui/calllog/CallLogModel.h"
#include "gui/calllog/TEditCall.h"
#include "gui/controls/ElidedText.h"
#include "gui/controls/SkinGridHeader.h"
#include "gui/controls/SkinLook.h"
#include "gui/controls/TGTabButton.h"
#include "gui/controls/TGTextButton.h"
#include "gui/messages/MessageDialogs.h"
#include "gui/providers/ProviderMenu.h"
#include "gui/reports/CallLogReports.h"

#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSlider>
#include <QTableView>

#include <utility>

namespace {

namespace Layout = SkinLayout::CallLogWindow;

constexpr int kTopStripHeight = 65;
constexpr int kSideWidth = 12;
constexpr int kRowHeight = 16;
// At this height or less the edit and statistics buttons are hidden.
constexpr int kControlsHeight = 125;
// A width read from a damaged settings file is kept within reach of the
// user's mouse, and the sum of the columns within range.
constexpr int kWidestColumn = 4 * SkinLayout::CallLogWindow::kGridWidth;
const QString kAllProvidersCaption = QStringLiteral("All Providers");

// A statistic too long for its button breaks after its first word (the
// currency symbol), then narrows its letters and only then makes them
// smaller, down to a size still read; past that the symbol goes, and last
// the end is cut. The hint has the whole.
void showFitted(TGTextButton *button, QString text)
{
    constexpr int kNarrowest = 80; // per cent of the normal width
    const int room = Layout::kStatButtonSize.width() - 4;
    // Left at any width until narrowed: the same font as the window's other
    // small text, so no second font is loaded for it.
    QFont font = SkinLook::font(11, false);
    const auto widest = [&text](const QFont &measured) {
        int width = 0;
        for (const QString &line : text.split(QLatin1Char('\n')))
            width = std::max(width, QFontMetrics(measured).horizontalAdvance(line));
        return width;
    };
    if (widest(font) > room) {
        const qsizetype space = text.indexOf(QLatin1Char(' '));
        if (space > 0)
            text[space] = QLatin1Char('\n');
    }
    while (font.pixelSize() > kSmallestTextPixels && widest(font) > room) {
        const int stretch = font.stretch() == QFont::AnyStretch ? int(QFont::Unstretched) : font.stretch();
        if (stretch > kNarrowest)
            font.setStretch(std::max(kNarrowest, stretch - 5));
        else
            font.setPixelSize(font.pixelSize() - 1);
    }
    if (widest(font) > room && text.contains(QLatin1Char('\n')))
        text = text.section(QLatin1Char('\n'), 1);
    if (widest(font) > room)
        text = QFontMetrics(font).elidedText(text, Qt::ElideRight, room);
    button->setFont(font);
    button->setText(text);
}

} // namespace

TCallLog::TCallLog(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
    , m_providerFilter(kAllProviders)
    , m_providerCaption(kAllProvidersCaption)
{
    setObjectName(QStringLiteral("TCallLog"));
    setFixedWidth(kWidth);
    setMinimumHeight(1);
    buildGrid();
    buildButtons();
    placeControls();
}

void TCallLog::buildGrid()
{
    sg = new QTableView(this);
    sg->setObjectName(QStringLiteral("sg"));
    auto *header = new SkinGridHeader(m_gridPainter, sg);
    header->setObjectName(QStringLiteral("sgHeader"));
    sg->setHorizontalHeader(header);
    sg->setItemDelegate(new CallLogDelegate(m_gridPainter, sg));
    sg->setSelectionBehavior(QAbstractItemView::SelectRows);
    sg->setSelectionMode(QAbstractItemView::ContiguousSelection);
    sg->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sg->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sg->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sg->setShowGrid(false);
    sg->setFont(m_gridPainter.font());
    sg->setFrameShape(QFrame::NoFrame);
    sg->setWordWrap(false);
    sg->setFont(m_gridPainter.font());
    sg->verticalHeader()->hide();
    sg->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sg->verticalHeader()->setDefaultSectionSize(kRowHeight);
    header->setFixedHeight(kRowHeight);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setMinimumSectionSize(1);
    header->setDefaultSectionSize(57);
    connect(header, &QHeaderView::sectionResized, this,
        [this](int column, int, int newSize) { columnResized(column, newSize); });

    m_slider = new QSlider(Qt::Vertical, this);
    m_slider->setObjectName(QStringLiteral("GSlider1"));
    m_slider->hide();
    connect(m_slider, &QSlider::valueChanged, this, &TCallLog::onSliderMoved);
}

void TCallLog::buildButtons()
{
    auto makeTab = [this](const char *name, const QRect &rect, void (TCallLog::*handler)()) {
        auto *button = new TGTabButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setTransparentColor(QColor::fromRgb(SkinLayout::kKey));
        button->setGeometry(rect);
        connect(button, &TGTabButton::clicked, this, handler);
        return button;
    };
    ButtonEdit = makeTab("ButtonEdit", Layout::ButtonEdit, &TCallLog::ButtonEditClick);
    ButtonEdit->setToolTip(QStringLiteral("Edit the highlighted call"));
    ButtonDelete = makeTab("ButtonDelete", Layout::ButtonDelete, &TCallLog::ButtonDeleteClick);
    ButtonDelete->setToolTip(QStringLiteral("Delete the highlighted calls"));
    ButtonClear = makeTab("ButtonClear", Layout::ButtonClear, &TCallLog::ButtonClearClick);
    ButtonClear->setToolTip(QStringLiteral("Clear all the calls shown"));

    m_reports = new CallLogReports(this);
    auto makeText = [this](const char *name, const QString &caption, const QRect &rect, void (TCallLog::*handler)()) {
        auto *button = new TGTextButton(this);
        button->setObjectName(QString::fromLatin1(name));
        SkinLook::styleButton(button, Look::ButtonSize::Small);
        button->setText(caption);
        button->setGeometry(rect);
        connect(button, &TGTextButton::clicked, this, handler);
        return button;
    };
    ButtonExport
        = makeText("ButtonExport", QStringLiteral("Export..."), Layout::ButtonExport, &TCallLog::ButtonExportClick);
    ButtonExport->setToolTip(QStringLiteral("Save the calls shown for a spreadsheet"));
    ButtonReport
        = makeText("ButtonReport", QStringLiteral("Report..."), Layout::ButtonReport, &TCallLog::ButtonReportClick);
    ButtonReport->setToolTip(QStringLiteral("Write a printable report of a month"));
    ButtonChart = makeText("ButtonChart", QStringLiteral("Chart..."), Layout::ButtonChart, &TCallLog::ButtonChartClick);
    ButtonChart->setToolTip(QStringLiteral("Cost, time and data per day or month"));

    const TextButtonAppearance look = SkinLook::textButton();
    for (int k = 0; k < kStatisticCount; ++k) {
        auto *button = new TGTextButton(this);
        button->setObjectName(QStringLiteral("GTextButton%1").arg(k + 1));
        button->setAppearance(look);
        showFitted(button, m_stats.text(k));
        button->setTag(m_stats.tag(k));
        connect(button, &TGTextButton::clicked, this, [this, k] { onStatisticClicked(k); });
        m_statButtons.at(k) = button;
    }

    LabelProvider = new QLabel(kAllProvidersCaption, this);
    LabelProvider->setObjectName(QStringLiteral("LabelProvider"));
    LabelProvider->setAlignment(Qt::AlignCenter);
    LabelProvider->setFont(SkinLook::font(15, true));
    LabelProvider->setAutoFillBackground(true);
    QPalette palette = LabelProvider->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, QColor(85, 85, 85));
    LabelProvider->setPalette(palette);
    LabelProvider->setProperty("Tag", m_providerFilter);
    LabelProvider->installEventFilter(this);

    ButtonChooseProvider = new TGTextButton(this);
    ButtonChooseProvider->setObjectName(QStringLiteral("ButtonChooseProvider"));
    ButtonChooseProvider->setAppearance(look);
    ButtonChooseProvider->setText(QString(QChar(0x25BC)));
    ButtonChooseProvider->setToolTip(QStringLiteral("Choose the connection to show"));
    connect(ButtonChooseProvider, &TGTextButton::clicked, this, &TCallLog::ButtonChooseProviderClick);

    m_providerMenu = new ProviderMenu(this);
    m_providerMenu->setObjectName(QStringLiteral("PopupMenu1"));
    connect(m_providerMenu, &ProviderMenu::itemChosen, this, &TCallLog::onProviderChosen);
}

void TCallLog::attach(AppCore &core, std::function<void()> updateProviderDisplay)
{
    m_core = &core;
    m_reports->attach(&core);
    m_updateProviderDisplay = std::move(updateProviderDisplay);
    CallLogModel *previous = m_model;
    m_model = new CallLogModel(core, this);
    sg->setModel(m_model);
    delete previous;
    connect(sg->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
        if (current.isValid())
            sgSelectCell(current.row() + 1);
    });
    m_fittingColumn = true;
    for (int column = 0; column + 1 < kCallLogColumns; ++column)
        sg->horizontalHeader()->resizeSection(
            column, std::clamp(core.settings().ColumnWidths.at(std::size_t(column)), 1, kWidestColumn));
    m_fittingColumn = false;
    fitLastColumn();
}

void TCallLog::detach()
{
    sg->setModel(nullptr);
    delete std::exchange(m_model, nullptr);
    m_core = nullptr;
    m_reports->attach(nullptr);
    m_updateProviderDisplay = {};
}

void TCallLog::loadSkin()
{
    SkinLibrary::LoadSkinImage(skinImage, QStringLiteral("CallLog"));
    ButtonEdit->loadImages(QStringLiteral("CallLogEdit"));
    ButtonDelete->loadImages(QStringLiteral("CallLogDelete"));
    ButtonClear->loadImages(QStringLiteral("CallLogClear"));
    m_providerMenu->reloadSkinImages();
    m_gridPainter = SkinGridPainter(skinImage);
    sg->viewport()->update();
    sg->horizontalHeader()->viewport()->update();
    rebuildOutline();
    update();
}

void TCallLog::FillGridWithLog()
{
    if (!m_core)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    sg->setUpdatesEnabled(false);
    CallLogFill fill = rebuildCallLog(
        m_core->providers(), m_core->log(), m_providerFilter, m_core->clock().now().date(), m_core->archivedCalls());
    // The archive's calls are not listed; the hint says they still count.
    LabelProvider->setToolTip(fill.archivedCalls == 0
            ? QString()
            : QStringLiteral("%1 older %2 in the archive (%3): not listed here, but counted in the totals, "
                             "reports and chart.")
                  .arg(fill.archivedCalls)
                  .arg(fill.archivedCalls == 1 ? QStringLiteral("call is") : QStringLiteral("calls are"))
                  .arg(QDir::toNativeSeparators(m_core->archivePath())));
    const bool anyCall = !fill.rows.isEmpty();
    m_model->setRows(std::move(fill.rows));
    selectGridRow(1);
    updateSlider();
    if (anyCall)
        m_stats.refill(statisticValueTexts(fill.statistics, m_core->currencyText()));
    else
        m_stats.refill(std::nullopt);
    showStatistics();
    sg->setUpdatesEnabled(true);
    if (m_updateProviderDisplay)
        m_updateProviderDisplay();
    QGuiApplication::restoreOverrideCursor();
}

void TCallLog::refreshCostHeader()
{
    if (m_model)
        m_model->refreshHeader();
}

void TCallLog::showStatistics()
{
    for (int k = 0; k < kStatisticCount; ++k) {
        TGTextButton *button = m_statButtons.at(k);
        button->setTag(m_stats.tag(k));
        showFitted(button, m_stats.text(k));
        button->setToolTip(m_stats.hint(k));
    }
}

int TCallLog::gridRowCount() const { return (m_model ? m_model->rowCount() : 1) + 1; }

void TCallLog::selectGridRow(int row)
{
    if (!m_model || row < 1 || row >= gridRowCount())
        return;
    const QModelIndex index = m_model->index(row - 1, 0);
    sg->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    sg->scrollTo(index);
}

void TCallLog::updateSlider()
{
    const int rows = gridRowCount();
    const int visibleRows = std::max(0, (sg->height() - sg->horizontalHeader()->height()) / kRowHeight);
    const bool wanted = m_model && m_model->callCount() > 1 && height() > kControlsHeight && visibleRows < rows - 1;
    m_slider->setVisible(wanted);
    if (!m_model || m_model->callCount() < 2)
        return;
    m_settingSlider = true;
    m_slider->setRange(1, rows - 1);
    m_slider->setValue(rows - (sg->currentIndex().row() + 1));
    m_settingSlider = false;
}

void TCallLog::sgSelectCell(int row)
{
    if (m_settingSlider)
        return;
    m_settingSlider = true;
    m_slider->setValue(gridRowCount() - row);
    m_settingSlider = false;
}

void TCallLog::onSliderMoved(int position)
{
    // Only the user's moves select a row; ours follow the selection.
    if (m_settingSlider || gridRowCount() <= 2)
        return;
    m_settingSlider = true;
    selectGridRow(gridRowCount() - position);
    m_settingSlider = false;
}

void TCallLog::onStatisticClicked(int button)
{
    m_stats.toggle(button);
    m_statButtons.at(button)->setTag(m_stats.tag(button));
    showFitted(m_statButtons.at(button), m_stats.text(button));
}

void TCallLog::ButtonChooseProviderClick()
{
    if (!m_core || m_core->providers().Count == 0)
        return;
    m_providerMenu->clearItems();
    m_providerMenu->addItem(kAllProvidersCaption, kAllProviders);
    const ProviderTable &providers = m_core->providers();
    const int count = std::min<int>(providers.Count, kMaxProviders);
    for (int i = 0; i < count; ++i)
        m_providerMenu->addItem(providers.records[i].Name.text(), i);
    m_providerMenu->open(mapToGlobal(LabelProvider->pos() - QPoint(1, 1)), LabelProvider->width());
}

void TCallLog::onProviderChosen(const QString &caption, int tag)
{
    m_providerFilter = tag;
    LabelProvider->setProperty("Tag", tag);
    m_providerCaption = caption;
    setElidedText(LabelProvider, caption);
    FillGridWithLog();
}

std::pair<int, int> TCallLog::selectedRows() const
{
    const QModelIndexList rows = sg->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        const int current = sg->currentIndex().row() + 1;
        return { current, current };
    }
    int top = rows.first().row();
    int bottom = top;
    for (const QModelIndex &index : rows) {
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
    }
    return { top + 1, bottom + 1 };
}

void TCallLog::ButtonEditClick()
{
    if (!m_core || m_model->callCount() == 0)
        return;
    const auto [top, bottom] = selectedRows();
    if (top != bottom)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    SelectedCall = callForEdit(m_core->log(), m_providerFilter, top, bottom);
    QGuiApplication::restoreOverrideCursor();
    if (SelectedCall < 0 || SelectedCall >= m_core->log().Count)
        return;
    {
        TEditCall dialog(*m_core, SelectedCall, this);
        dialog.exec();
    }
    FillGridWithLog();
    emit logEdited();
}

void TCallLog::ButtonDeleteClick()
{
    if (!m_core || m_model->callCount() == 0)
        return;
    if (SkinMessageDlg(mtConfirm, deleteQuestion(), mbYes | mbNo, this) == mrNo)
        return;
    const auto [top, bottom] = selectedRows();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    deleteCalls(m_core->log(), m_providerFilter, top, bottom);
    QGuiApplication::restoreOverrideCursor();
    FillGridWithLog();
    emit logEdited();
}

void TCallLog::ButtonClearClick()
{
    if (!m_core || m_model->callCount() == 0)
        return;
    if (SkinMessageDlg(mtWarning, clearQuestion(m_providerCaption), mbYes | mbNo, this) == mrNo)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    clearCalls(m_core->log(), m_providerFilter);
    QGuiApplication::restoreOverrideCursor();
    FillGridWithLog();
    emit logEdited();
}

void TCallLog::ButtonExportClick() { m_reports->exportCalls(m_providerFilter); }

void TCallLog::ButtonReportClick()
{
    m_reports->chooseReportMonth(m_providerFilter, ButtonReport->mapToGlobal(QPoint(0, ButtonReport->height())));
}

void TCallLog::ButtonChartClick() { m_reports->showChart(m_providerFilter); }

void TCallLog::columnResized(int column, int newSize)
{
    if (m_fittingColumn || !m_core)
        return;
    m_core->settings().ColumnWidths.at(std::size_t(column)) = newSize;
    if (column + 1 < kCallLogColumns)
        fitLastColumn();
}

void TCallLog::fitLastColumn()
{
    // The last column takes what the others leave, or their overflow.
    QHeaderView *header = sg->horizontalHeader();
    int others = 0;
    for (int column = 0; column + 1 < kCallLogColumns; ++column)
        others += header->sectionSize(column);
    const int width = std::abs(Layout::kGridWidth - others);
    m_fittingColumn = true;
    header->resizeSection(kCallLogColumns - 1, width);
    m_fittingColumn = false;
    if (m_core)
        m_core->settings().ColumnWidths.at(kCallLogColumns - 1) = width;
}

void TCallLog::placeControls()
{
    const int h = height();
    const bool full = h > kControlsHeight;
    const int gridHeight = std::max(0, h - Layout::kBottomHeight - Layout::kGridTop);
    sg->setGeometry(Layout::kGridLeft, Layout::kGridTop, Layout::kGridWidth, gridHeight);
    m_slider->setGeometry(Layout::kGridLeft + Layout::kGridWidth - Layout::kSliderWidth, Layout::kGridTop,
        Layout::kSliderWidth, gridHeight);
    for (int k = 0; k < kStatisticCount; ++k) {
        m_statButtons.at(k)->setGeometry(QRect(
            QPoint(Layout::kStatButtonFirstLeft + k * Layout::kStatButtonStep, h - Layout::kStatButtonsFromBottom),
            Layout::kStatButtonSize));
        m_statButtons.at(k)->setVisible(full);
    }
    const int providerTop = h - Layout::kProviderRowFromBottom;
    LabelProvider->setGeometry(QRect(QPoint(Layout::kLabelProviderLeft, providerTop), Layout::kLabelProviderSize));
    ButtonChooseProvider->setGeometry(
        QRect(QPoint(Layout::kButtonChooseProviderLeft, providerTop), Layout::kButtonChooseProviderSize));
    for (SkinButton *button : std::initializer_list<SkinButton *> {
             ButtonEdit, ButtonDelete, ButtonClear, ButtonExport, ButtonReport, ButtonChart })
        button->setVisible(full);
    if (full) {
        sg->show();
        LabelProvider->show();
        ButtonChooseProvider->show();
    }
    updateSlider();
}

bool TCallLog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == LabelProvider && event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        ButtonChooseProviderClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

const QImage &TCallLog::composeFrame() const
{
    // Painting and the outline both ask for it, often at one height.
    const int h = height();
    if (h == m_frameHeight && skinImage.cacheKey() == m_frameSkinKey)
        return m_frame;
    m_frameHeight = h;
    m_frameSkinKey = skinImage.cacheKey();
    m_frame = QImage(kWidth, h, QImage::Format_RGB32);
    m_frame.fill(Qt::white);
    QPainter painter(&m_frame);
    auto piece = [&](const QRect &source, const QRect &target) {
        if (target.width() > 0 && target.height() > 0)
            painter.drawImage(target, skinImage, source);
    };
    const int bottom = Layout::kBottomHeight;
    if (h >= bottom)
        piece(Layout::kTopStrip, QRect(0, 0, kWidth, kTopStripHeight));
    piece(Layout::kLeftEdge, QRect(QPoint(0, kTopStripHeight), QPoint(kSideWidth - 1, h - bottom - 1)));
    piece(Layout::kRightEdge, QRect(QPoint(kWidth - kSideWidth, kTopStripHeight), QPoint(kWidth - 1, h - bottom - 1)));
    piece(Layout::kBottomStrip, QRect(0, h - bottom, kWidth, bottom));
    return m_frame;
}

void TCallLog::rebuildOutline()
{
    // A hidden window gets its outline when shown, at the height it has then.
    if (!isVisible())
        return;
    // The frame's key-coloured corners are cut away; without a skin the
    // window stays a rectangle.
    const QRegion outline = skinImage.isNull() || height() <= 1
        ? QRegion()
        : outlineRegion(composeFrame(), QColor::fromRgb(kSkinKeyColour));
    if (outline.isEmpty())
        clearMask();
    else
        setMask(outline);
}

void TCallLog::showEvent(QShowEvent *event)
{
    rebuildOutline();
    QWidget::showEvent(event);
}

void TCallLog::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeControls();
    rebuildOutline();
    emit resized();
}

void TCallLog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (skinImage.isNull()) {
        painter.fillRect(rect(), QColor(235, 235, 245));
        return;
    }
    if (height() <= 1)
        return;
    painter.drawImage(QPoint(0, 0), composeFrame());
}
