#pragma once

#include "core/calllog/StatisticsButtons.h"
#include "gui/controls/SkinGridPainter.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <functional>

class AppCore;
class CallLogModel;
class CallLogReports;
class ProviderMenu;
class QLabel;
class QSlider;
class QTableView;
class TGTabButton;
class TGTextButton;

// The call log window, docked under the main window; fixed width. It shows
// the log's calls for the chosen provider with their statistics, and lets
// the user edit, delete and clear calls. Every refill also rebuilds every
// provider's Today, Month and Total counters from the whole log.
class TCallLog final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCallLog)

public:
    static constexpr int kWidth = 492;
    // At this height or less the window is not shown.
    static constexpr int kHiddenHeight = 5;

    explicit TCallLog(QWidget *parent = nullptr);

    // Works on the core's tables from now on; `updateProviderDisplay`
    // refreshes the main window's provider totals after each refill.
    void attach(AppCore &core, std::function<void()> updateProviderDisplay);
    // Lets go of the core before its owner destroys it; the grid is empty then.
    void detach();

    // Loads the skin image "CallLog" into skinImage and the pictures of the
    // three edit buttons, each when it exists.
    void loadSkin();

    // Rebuilds the grid, the statistics and the providers' counters for the
    // current filter, selects the first call, then refreshes the main window.
    void FillGridWithLog();

    // Rewrites the cost column's title after the currency text changed.
    void refreshCostHeader();

    QImage skinImage; // the skin: source of every piece of the frame

signals:
    void resized();
    // The user edited or deleted calls; the main window writes the files.
    void logEdited();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildGrid();
    void buildButtons();
    // The frame at the window's height, from the pieces of skinImage.
    [[nodiscard]] const QImage &composeFrame() const;
    void rebuildOutline();
    void placeControls();
    void fitLastColumn();
    void columnResized(int column, int newSize);
    void showStatistics();
    [[nodiscard]] int gridRowCount() const; // with the header row
    void selectGridRow(int row);
    void updateSlider();
    // The selection's top and bottom grid rows (counted from 1).
    [[nodiscard]] std::pair<int, int> selectedRows() const;

    void sgSelectCell(int row);
    void onSliderMoved(int position);
    void onStatisticClicked(int button);
    void ButtonChooseProviderClick();
    void onProviderChosen(const QString &caption, int tag);
    void ButtonEditClick();
    void ButtonDeleteClick();
    void ButtonClearClick();
    void ButtonExportClick();
    void ButtonReportClick();
    void ButtonChartClick();

    AppCore *m_core = nullptr;
    // The last frame composed, for the height and skin image it was made from.
    mutable QImage m_frame;
    mutable int m_frameHeight = -1;
    mutable qint64 m_frameSkinKey = 0;
    std::function<void()> m_updateProviderDisplay;
    SkinGridPainter m_gridPainter;
    CallLogModel *m_model = nullptr;
    StatisticsButtons m_stats;
    int m_providerFilter; // LabelProvider's Tag: a provider index or kAllProviders
    QString m_providerCaption; // LabelProvider's whole text; the label may show it cut
    int SelectedCall = -1;
    bool m_settingSlider = false;
    bool m_fittingColumn = false;

    QTableView *sg;
    QSlider *m_slider;
    QLabel *LabelProvider;
    TGTextButton *ButtonChooseProvider;
    ProviderMenu *m_providerMenu;
    TGTabButton *ButtonEdit;
    TGTabButton *ButtonDelete;
    TGTabButton *ButtonClear;
    TGTextButton *ButtonExport;
    TGTextButton *ButtonReport;
    TGTextButton *ButtonChart;
    CallLogReports *m_reports;
    std::array<TGTextButton *, kStatisticCount> m_statButtons {};
};
