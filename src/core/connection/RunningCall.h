#pragma once

#include "core/pricing/CallPrice.h"
#include "core/store/CurrentCall.h"
#include "core/store/Records.h"

// One second of a running call: counts it, charges a unit when one begins on
// this second, and keeps the provider's Today, Month and Total counters in
// step. `today` is the date (no time part) on which this second falls.
void advanceCallOneSecond(CurrentCall &call, Provider &provider, DateTimeValue today);
