#pragma once

#include "core/app/AppCore.h"
#include "core/connection/CallMonitor.h"

#include "core/tariffs/TariffTestData.h"
#include "support/FakeClock.h"
#include "support/FakeDialUpService.h"
#include "support/FakeServices.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// A monitor on a fresh program folder, with the phonebook entries
// "DemoEntry" and "Other" as providers 0 and 1 and money shown as "£ 1.50".
class CallMonitorTest : public ::testing::Test {
protected:
    CallMonitorTest()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        dialUp.entries = { "DemoEntry", "Other" };
        core->loadAll();
        core->setCurrencyText(QStringLiteral("£ "));
        monitor.startUp();
    }
    ~CallMonitorTest() override { QLocale::setDefault(QLocale::c()); }

    QString file(const QString &name) const { return QDir(dir.path()).filePath(name); }
    QByteArray read(const QString &name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // One second later, the timer fires.
    void tick(int seconds = 1)
    {
        clock.advanceSeconds(seconds);
        monitor.tick();
    }
    void setTariffs(std::initializer_list<Tariff> tariffs) { tariffdata::fill(core->tariffs(), tariffs); }

    const CurrentCall &call() const { return core->currentCall(); }
    const MonitorDisplay &display() const { return monitor.display(); }
    Provider &provider(int index) { return core->providers().records[index]; }

    QTemporaryDir dir;
    FakeClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    FakeDialUpService dialUp;
    std::unique_ptr<AppCore> core
        = std::make_unique<AppCore>(file(QStringLiteral("tollwise")), AppServices { clock, sound, startup, dialUp });
    CallMonitor monitor { monitorParts(*core), dialUp, clock };
};
