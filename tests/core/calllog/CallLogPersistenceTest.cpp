#include "core/app/AppCore.h"
#include "core/calllog/CallLogEdits.h"
#include "core/calllog/CallLogRows.h"
#include "core/calllog/EditCallForm.h"

#include "support/FakeClock.h"
#include "support/FakeDialUpService.h"
#include "support/FakeServices.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

class CallLogPersistenceTest : public ::testing::Test {
protected:
    std::unique_ptr<AppCore> start()
    {
        auto core = std::make_unique<AppCore>(
            QDir(dir.path()).filePath(QStringLiteral("tollwise")), AppServices { clock, sound, startup, dialUp });
        core->loadAll();
        return core;
    }
    // What the main window does once the user confirmed closing.
    static void exit(AppCore &core) { EXPECT_TRUE(core.saveForExit().isEmpty()); }

    QTemporaryDir dir;
    FakeClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    FakeDialUpService dialUp;
};

TEST_F(CallLogPersistenceTest, ConfirmedEditsAndDeletionsSurviveARestart)
{
    {
        auto core = start();
        core->providers().Count = 1;
        CallLogTable &log = core->log();
        for (int i = 0; i < 3; ++i) {
            CallRecord &r = log.records[log.Count++];
            r = CallRecord {};
            r.StartDay = r.EndDay = 2;
            r.StartMonth = r.EndMonth = 3;
            r.StartYear = r.EndYear = 26;
            r.ProviderIndex = 0;
            r.DurationSeconds = 60;
        }
        exit(*core);
    }
    {
        auto core = start();
        ASSERT_EQ(core->log().Count, 3);
        const int selected = callForEdit(core->log(), kAllProviders, 2, 2);
        EditCallFields fields
            = editCallFields(core->log().records[selected], core->providers(), clock.now().date(), QLocale::c());
        fields.cost = QStringLiteral("4.50");
        ASSERT_TRUE(saveEditCall(core->log().records[selected], fields, QLocale::c()));
        deleteCalls(core->log(), kAllProviders, 3, 3);
        exit(*core);
    }
    auto core = start();
    EXPECT_EQ(core->log().Count, 3);
    EXPECT_EQ(core->log().records[1].Cost, 45000);
    EXPECT_EQ(core->log().records[2].ProviderIndex, kDeletedCall);
    EXPECT_EQ(shownCalls(core->log(), kAllProviders), (QList<int> { 0, 1 }));
}

} // namespace
