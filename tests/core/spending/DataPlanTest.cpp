#include "core/connection/CallMonitorTestFixture.h"

#include "core/spending/SpendingSummary.h"
#include "core/spending/SpendingWatch.h"

using namespace tariffdata;

namespace {

// A call on DemoEntry with traffic at a steady rate, priced by a per-minute
// tariff of 0.10 with a 0.05 minimum charge and a data plan of 10 MB a month,
// then 0.02 for each 1 MB block begun, counting both directions.
class DataPlanTest : public CallMonitorTest {
protected:
    static constexpr std::int64_t kInPerSecond = 60000;
    static constexpr std::int64_t kOutPerSecond = 20000;

    DataPlanTest()
    {
        setTariffs({ rate(1, 1, 1000, 500) });
        VolumePlan plan;
        plan.allowanceBytes = 10 * VolumePlan::kMegabyte;
        plan.blockBytes = VolumePlan::kMegabyte;
        plan.blockPrice = 200;
        core->volumePlans().insert(QStringLiteral("DemoEntry"), plan);
        monitor.setVolumeHook([this](CurrentCall &c, const CallVolume &) { spending.dataCharge().onVolume(c); });
        QObject::connect(&spending, &SpendingWatch::budgetWarningDue,
            [this](const BudgetWarning &warning) { warnings.emplace_back(trafficSeconds(), warning); });
        dialUp.counters = [this](dialup::ConnectionHandle) {
            const std::int64_t seconds = trafficSeconds();
            return dialup::ByteCounters { std::uint64_t(kInPerSecond * seconds), std::uint64_t(kOutPerSecond * seconds),
                true };
        };
    }
    std::int64_t trafficSeconds() const { return m_connectedAt.secsTo(clock.now()); }
    void connect()
    {
        m_connectedAt = clock.now();
        m_handle = dialUp.connect("DemoEntry", dialup::kConnected);
    }
    void run(int seconds)
    {
        for (int i = 0; i < seconds; ++i) {
            tick();
            spending.update();
        }
    }
    void hangUp()
    {
        dialUp.drop(m_handle);
        tick();
        spending.update();
    }

    SpendingWatch spending { spendingParts(*core), clock };
    std::vector<std::pair<std::int64_t, BudgetWarning>> warnings; // at what second of traffic
    QDateTime m_connectedAt;
    dialup::ConnectionHandle m_handle = 0;
};

} // namespace

TEST_F(DataPlanTest, ACallIsLoggedWithItsTimeAndDataAndWarnedAtTheRightSecond)
{
    connect();
    run(130);
    // 80,000 bytes a second reach 80 % of 10,000,000 bytes after 100 seconds.
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_EQ(warnings[0].first, 100);
    EXPECT_EQ(warnings[0].second.level, 80);
    EXPECT_EQ(warnings[0].second.use.kind, BudgetKind::Data);
    EXPECT_EQ(warnings[1].first, 113) << "90 % is 9,000,000 bytes: 112.5 seconds";
    EXPECT_EQ(warnings[1].second.level, 90);
    // 130 s: the minimum 0.05 and three minutes begun at 0.10; 10,400,000
    // bytes are 400,000 beyond the allowance, one block of 0.02. The 100 %
    // warning came at 125 s.
    EXPECT_EQ(display().costText, QStringLiteral("£ 0.37"));
    EXPECT_EQ(warnings[2].first, 125);
    EXPECT_EQ(warnings[2].second.level, 100);
    hangUp();

    ASSERT_EQ(core->log().Count, 1);
    EXPECT_EQ(core->log().records[0].DurationSeconds, 130u);
    EXPECT_EQ(core->log().records[0].Cost, 3700);
    EXPECT_EQ(core->volumes().records[0].bytesIn, 130 * kInPerSecond);
    EXPECT_EQ(core->volumes().records[0].bytesOut, 130 * kOutPerSecond);
    EXPECT_EQ(provider(0).TodayCost, 3700) << "rebuilt from the log, data included";
    EXPECT_EQ(provider(0).TotalCost, 3700);

    // The next call's first 80,000 bytes fall in the 11th MB the first call
    // paid for; its 600,000th byte begins the 12th.
    warnings.clear();
    connect();
    run(1);
    EXPECT_EQ(display().costText, QStringLiteral("£ 0.15")) << "the minimum and the first minute only";
    run(6);
    EXPECT_EQ(display().costText, QStringLiteral("£ 0.15")) << "560,000 bytes: 10,960,000 used";
    run(1);
    EXPECT_EQ(display().costText, QStringLiteral("£ 0.17")) << "640,000 bytes: 11,040,000 used";
    EXPECT_TRUE(warnings.empty()) << "each warning once per cycle";
}

TEST_F(DataPlanTest, TheProjectedBillPricesTheMonthsDataAtItsPace)
{
    // 2 March is day 2 of a 31-day month; 130 s at 80,000 bytes a second
    // give 10,400,000 bytes, 161,200,000 at this pace: 152 blocks beyond the
    // allowance, 3.04. The call's 0.35 of time goes on at the same pace:
    // 0.35 * 31 / 2 = 5.425; 8.465 in all, shown to the cent.
    connect();
    run(130);
    hangUp();
    const SpendingSummary summary = spendingSummary(spendingParts(*core), 0, clock.now());
    EXPECT_EQ(summary.bill, QStringLiteral("£ 0.37 so far, £ 8.47 at this pace"));
}
