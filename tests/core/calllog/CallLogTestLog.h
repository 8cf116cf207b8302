#pragma once

#include "core/store/Records.h"
#include "core/store/TableBlanks.h"

#include <memory>

// A blank log and provider table that tests fill call by call.
struct TestLog {
    TestLog()
    {
        blankProviderTable(*providers);
        blankCallLog(*log);
    }

    struct Call {
        std::uint8_t provider;
        std::uint8_t day, month, year;
        std::uint32_t seconds = 60;
        MoneyValue cost = 0;
        std::uint8_t hour = 10;
    };

    void addProvider(const char *name)
    {
        providers->records[providers->Count++].Name.setText(QString::fromLatin1(name));
    }

    CallRecord &add(const Call &c)
    {
        CallRecord &r = log->records[log->Count++];
        r.StartDay = r.EndDay = c.day;
        r.StartMonth = r.EndMonth = c.month;
        r.StartYear = r.EndYear = c.year;
        r.StartHour = c.hour;
        r.StartMinute = r.StartSecond = 0;
        r.EndHour = c.hour;
        r.EndMinute = std::uint8_t(c.seconds / 60 % 60);
        r.EndSecond = std::uint8_t(c.seconds % 60);
        r.ProviderIndex = c.provider;
        r.DurationSeconds = c.seconds;
        r.Cost = c.cost;
        r.TariffId = 0;
        return r;
    }

    std::unique_ptr<ProviderTable> providers = std::make_unique<ProviderTable>();
    std::unique_ptr<CallLogTable> log = std::make_unique<CallLogTable>();
};
