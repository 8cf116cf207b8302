#pragma once

#include "core/store/Records.h"

#include <QString>

// Removing and choosing calls by the grid's row numbers (rows counted from
// 1 among the calls `filter` shows, see shownCalls). A removed call keeps
// its slot, marked deleted; the log's Count never changes.

// The record of the one selected row, or -1 for a selection of several
// rows or a row no call has.
int callForEdit(const CallLogTable &log, int filter, int topRow, int bottomRow);

// Marks the calls of rows topRow..bottomRow deleted; returns how many.
int deleteCalls(CallLogTable &log, int filter, int topRow, int bottomRow);

// Marks every call of the provider `filter` deleted, or every call at all
// for kAllProviders; returns how many.
int clearCalls(CallLogTable &log, int filter);

QString deleteQuestion();
// `providerCaption` is the filter label's text ("All Providers").
QString clearQuestion(const QString &providerCaption);
