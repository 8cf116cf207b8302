#pragma once

#include "core/reports/CallLogExport.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>
#include <optional>

class AppCore;
class ProviderMenu;
class QWidget;

// The call log's Export, Report and Chart: each works on the calls the log
// shows for its provider filter. Files go where the user chooses, written
// whole or not at all by the core.
class CallLogReports final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CallLogReports)

public:
    // Asks where to save: the dialog's caption, the name it proposes and its
    // file type filter; an empty answer means the user cancelled.
    using FileChooser = std::function<QString(
        QWidget *parent, const QString &caption, const QString &proposed, const QString &typeFilter)>;

    explicit CallLogReports(QWidget *window);

    void attach(AppCore *core) { m_core = core; }
    // Tests answer the save dialog themselves.
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    void exportCalls(int filter);
    // Offers the current billing month and the months with calls at `where`
    // (global), then writes the report of the month chosen.
    void chooseReportMonth(int filter, const QPoint &where);
    // Without a month: each provider's current billing month.
    void writeReport(int filter, const std::optional<QDate> &month);
    void showChart(int filter);

private:
    [[nodiscard]] CallLogView viewOf(int filter) const;
    void saveAs(const QString &caption, const QString &proposed, const QString &typeFilter, const QByteArray &bytes);

    QWidget *m_window;
    AppCore *m_core = nullptr;
    FileChooser m_chooseFile;
    ProviderMenu *m_monthMenu;
    QList<QDate> m_menuMonths; // beside the menu's items, from its second on
    int m_menuFilter = 0;
    QString m_lastFolder;
};
