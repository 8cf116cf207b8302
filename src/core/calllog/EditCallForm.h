#pragma once

#include "core/store/Records.h"

#include <QDate>
#include <QLocale>
#include <QString>

#include <expected>
#include <optional>

// The fields of the call edit dialog, and their checks on saving.

struct EditCallFields {
    QString connection; // one blank and the provider's name; not editable
    QString startTime; // "hh:mm:ss"
    // Empty while the stored date bytes name no real day (an old or damaged
    // record): the dialog then shows startDateText and, unless the user picks
    // a date, saving leaves the bytes as they are.
    std::optional<QDate> startDate;
    QString startDateText; // the stored bytes as "dd/mm/yy"
    QString endTime;
    std::optional<QDate> endDate;
    QString endDateText;
    QString duration; // "hhhh:mm:ss"
    QString cost; // thousands separated, two decimals or as many of four as the amount has
};

enum class EditCallError {
    StartTime, // not a time of day
    EndTime, // not a time of day
    EndBeforeStart, // the call would end before it began
    Cost, // not an amount of money
};

// The fields for one call; two-digit years are read in the century of `today`.
EditCallFields editCallFields(
    const CallRecord &call, const ProviderTable &providers, const QDate &today, const QLocale &locale = QLocale());

// Writes the fields into the call when they pass every check; otherwise the
// call is left untouched. The provider and tariff are not editable, and the
// duration and cost are taken as typed (a duration that cannot be read is 0).
[[nodiscard]] std::expected<void, EditCallError> saveEditCall(
    CallRecord &call, const EditCallFields &fields, const QLocale &locale = QLocale());

// The message that tells the user what to mend.
QString editCallMessage(EditCallError error);
