#pragma once

#include <QString>

// What the main window shows of the line and the running call. The monitor
// decides every text and state here; the window only draws them.
struct MonitorDisplay {
    enum DialMode {
        DialInactive = 0, // before the first tick: a click does nothing
        DialDials = 1, // no connection: a click dials
        DialHangsUp = 2, // a connection exists: a click hangs up
    };

    QString dateTimeText = QStringLiteral(".");
    QString statusText = QStringLiteral("Not Connected");
    QString statusHint;
    QString selectedEntry; // the provider shown, also the entry the dial button dials
    QString durationText = QStringLiteral("00:00:00");
    QString costText = QStringLiteral("-");
    bool callLabelsBold = false; // while a call is costed
    // The selected provider's totals; "-" until there is a provider.
    QString todaysTime = QStringLiteral("-");
    QString todaysCost = QStringLiteral("-");
    QString monthsTime = QStringLiteral("-");
    QString monthsCost = QStringLiteral("-");
    QString todateTime = QStringLiteral("-");
    QString todateCost = QStringLiteral("-");
    QString totalNumOfCalls = QStringLiteral("-");
    int gaugeMin = 0;
    int gaugeMax = 0;
    int gaugePosition = 0; // seconds into the charging unit
    QString title = QStringLiteral("Dialtally");
    int dialMode = DialInactive; // the dial button's tag
    QString dialButtonImage; // skin image last asked for; empty: the design picture
    bool scannerRunning = false;
    QString rateCaption;
    QString rateHint;

    bool operator==(const MonitorDisplay &) const = default;
};
