#pragma once

#include "core/services/Clock.h"
#include "core/spending/BillingCycle.h"
#include "core/spending/BudgetWarning.h"
#include "core/spending/CheaperHour.h"
#include "core/spending/CycleUsage.h"
#include "core/spending/DataAllowance.h"
#include "core/spending/SpendingParts.h"

#include <QObject>
#include <QString>

#include <optional>
#include <utility>

// What the main window shows of the spending control; decided here, drawn there.
struct SpendingDisplay {
    QString line; // next unit during a call (and a cheaper start today), else the cheaper hour; may be empty
    QString shortLine; // the line in fewer words, for a window too narrow for it; empty: none shorter
    QString lineHint; // how to use the line
    QString cycleText; // the selected provider's cycle so far, for the month fields' hint
    bool armed = false; // "hang up before the next unit" is armed
    int hangUpCountdown = -1; // seconds left before the automatic hang-up at 100 %; -1: none

    bool operator==(const SpendingDisplay &) const = default;
};

// Watches the running call and the selected provider once a second: the
// billing cycle, the budget warnings (ahead of a unit that would leap over a
// threshold), the next unit, the cheaper hour and the hang-ups the user asked
// for. It hangs up only the program's own dial; for another program's call it
// says at once that it cannot.
class SpendingWatch final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpendingWatch)

public:
    static constexpr int kAutoHangUpSeconds = 10;

    SpendingWatch(SpendingParts parts, Clock &clock, QObject *parent = nullptr);

    // Run after every monitor tick.
    void update();
    const SpendingDisplay &display() const { return m_display; }

    // A click on the line: arms or disarms the hang-up before the next unit
    // while our own call runs (another program's call gets a message), or
    // cancels the automatic hang-up's countdown.
    void toggleArmed();
    void cancelAutoHangUp();

    // The provider shown (or the call's, during a call) and its cycle now.
    int providerIndex() const;
    BillingCycle cycleOf(int providerIndex) const;
    CycleUsage usageOf(int providerIndex) const;
    // The bytes the provider's data plan has counted in its cycle now, the
    // running call's included; none without a data plan.
    std::optional<std::int64_t> dataUsedOf(int providerIndex) const;

    // Prices the running call's data: the monitor's volume hook calls it.
    RunningDataCharge &dataCharge() { return m_data; }

signals:
    // The display differs from what it was at the last update.
    void changed();
    // A budget threshold reached, or passed by the next unit.
    void budgetWarningDue(const BudgetWarning &warning);
    // Show a message: why a hang-up cannot happen.
    void warningDue(const QString &text);
    // Hang up the program's own dial now.
    void hangUpRequested();

private:
    BillingCycle cycleOn(int providerIndex, const QDate &today) const;
    CycleUsage usageOn(int providerIndex, const QDate &today) const;
    std::optional<std::int64_t> dataUsedOn(int providerIndex, const QDate &today) const;
    void workOutDisplay();
    void checkBudget(int index, const CycleUsage &usage, const BillingCycle &cycle);
    void checkDataAllowance(int index, const BillingCycle &cycle, std::int64_t used);
    // Starts the countdown of the automatic hang-up for the running call, or says why it cannot.
    void startAutoHangUp(QStringList &parts);
    // The data line, and its shorter form where there is one.
    std::pair<QString, QString> dataLine(int index, const BillingCycle &cycle, std::int64_t used) const;
    QString dataLineHint(int index, const BillingCycle &cycle, std::int64_t used) const;
    // Adds why the running call will not be hung up, once for the call.
    void hangUpRuledOut(QStringList &parts, const QString &when);
    std::optional<CheaperStart> cheaperForNewCall(const QDateTime &now) const;
    void runAutoHangUp();
    void checkNextUnit();
    void requestHangUp(const QString &otherProgramText);

    SpendingParts m_parts;
    Clock &m_clock;
    mutable CycleUsageCounter m_usage;
    RunningDataCharge m_data;
    // The logged bytes of the provider's cycle as last counted, and what they were counted from.
    struct DataCount {
        std::optional<std::uint64_t> logChanges; // none before the first count
        int providerIndex = -1;
        QDate cycleStart;
        QDate today; // places the log's two-digit years
        CountedBytes counted = CountedBytes::Both;
        std::int64_t bytes = 0;
    };
    mutable DataCount m_dataCount;
    CheaperStartLine m_idleLine; // the line while no call runs
    // What the month fields' hint was last worded from; it is worded again
    // only when one of these changes.
    struct CycleTextSource {
        int providerIndex = -1;
        QDate cycleStart;
        QDate cycleEnd;
        int calls = 0;
        std::uint64_t seconds = 0;
        MoneyValue cost = 0;
        QString currency;
        bool operator==(const CycleTextSource &) const = default;
    };
    CycleTextSource m_cycleTextSource;
    SpendingDisplay m_display;
    QDateTime m_autoHangUpAt; // invalid: no countdown runs
    DateTimeValue m_countedCall = 0; // start of the call the automatic hang-up was decided for
    DateTimeValue m_announcedCall = 0; // start of the call whose next unit was announced
    int m_announcedLevels = 0; // bits as ProviderBudget::warnedLevels: told ahead during that call
};
