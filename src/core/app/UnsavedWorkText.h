#pragma once

#include "core/app/AppCore.h"

#include <QString>

// What the exit question says will be lost when the user ends the program
// although some files could not be written: one line per thing, each call
// by its provider, start, duration and cost. Empty when nothing is lost.
QString unsavedWorkText(const UnsavedWork &work, const ProviderTable &providers, const QString &currencyText);
