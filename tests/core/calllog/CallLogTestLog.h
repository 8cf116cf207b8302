#pragma once

#include "core/store/Records.h"
#include "core/store/TableBlanks.h"

#include <QDateTime>

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
        r.StartDay = c.day;
        r.StartMonth = c.month;
        r.StartYear = c.year;
        r.StartHour = c.hour;
        r.StartMinute = r.StartSecond = 0;
        // A call ends its seconds after it starts; a record that does not is damaged and never counted.
        const QDateTime end = QDateTime(QDate(2000 + c.year, c.month, c.day), QTime(c.hour, 0)).addSecs(c.seconds);
        r.EndDay = std::uint8_t(end.date().day());
        r.EndMonth = std::uint8_t(end.date().month());
        r.EndYear = std::uint8_t(end.date().year() % 100);
        r.EndHour = std::uint8_t(end.time().hour());
        r.EndMinute = std::uint8_t(end.time().minute());
        r.EndSecond = std::uint8_t(end.time().second());
        r.ProviderIndex = c.provider;
        r.DurationSeconds = c.seconds;
        r.Cost = c.cost;
        r.TariffId = 0;
        return r;
    }

    std::unique_ptr<ProviderTable> providers = std::make_unique<ProviderTable>();
    std::unique_ptr<CallLogTable> log = std::make_unique<CallLogTable>();
};
