#include "core/calllog/CallLogEdits.h"

#include "core/calllog/CallLogRows.h"

int callForEdit(const CallLogTable &log, int filter, int topRow, int bottomRow)
{
    if (topRow != bottomRow || topRow < 1)
        return -1;
    const QList<int> rows = shownCalls(log, filter);
    return topRow <= rows.size() ? rows.at(topRow - 1) : -1;
}

int deleteCalls(CallLogTable &log, int filter, int topRow, int bottomRow)
{
    const QList<int> rows = shownCalls(log, filter);
    const int first = std::max(topRow, 1);
    const int last = std::min<qsizetype>(bottomRow, rows.size());
    for (int row = first; row <= last; ++row)
        log.records[rows.at(row - 1)].ProviderIndex = kDeletedCall;
    return std::max(0, last - first + 1);
}

int clearCalls(CallLogTable &log, int filter)
{
    const QList<int> rows = shownCalls(log, filter);
    for (const int index : rows)
        log.records[index].ProviderIndex = kDeletedCall;
    return int(rows.size());
}

QString deleteQuestion()
{
    return QStringLiteral("This will remove the highlighted entry from the log. NOTE: If you delete this you cannot "
                          "get it back.\r\rAre you sure you want to delete this?");
}

QString clearQuestion(const QString &providerCaption)
{
    return QStringLiteral("This will remove all the entries for ") + providerCaption.trimmed()
        + QStringLiteral(" from the log.\r\rAre you sure you want to clear all these items?");
}
