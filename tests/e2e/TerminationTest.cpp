// The program asked to end by the system rather than by its own exit
// question: a signal must end and log the running call and write every file,
// and an edit must be on disk as soon as its dialog closes.
#include "DataFileBytes.h"
#include "Desktop.h"
#include "ProgramFolder.h"
#include "RunningProgram.h"
#include "core/skins/SkinLayout.h"

#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

using namespace DataFileBytes;

namespace {

const QString kSettings = QStringLiteral("settings.data");

QRect tariffEditorButton(int index)
{
    using namespace SkinLayout::TariffEditor;
    return { QPoint(kButtonLeft, kButtonFirstTop + index * kButtonStep), kButtonSize };
}

class Termination : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.error().isEmpty()) << m_folder.error().toStdString(); }

    QString setting(const QString &key) const
    {
        return settingsValue(m_folder.readFile(kSettings), key).value_or(QStringLiteral("missing"));
    }

    ProgramFolder m_folder;
    Desktop m_desktop;
    RunningProgram m_program { m_folder, m_desktop };
};

} // namespace

TEST_P(Termination, ASignalLogsTheRunningCallAndWritesEveryFile)
{
    // 0.02 a second, and a second tariff to delete in the editor.
    m_folder.writeFile(QStringLiteral("Tariffs.data"),
        tariffsFile({ .id = 5, .name = "Seconds", .unitKind = 2, .chargeKind = 1, .unitCost = 200 }));
    m_folder.writeFile(kSettings, "[Application]\r\nTarifs.NumberOfRecords=1\r\nLastTariffIdNumber=5\r\n");
    ASSERT_TRUE(m_program.start());
    const std::optional<Desktop::Window> main = m_program.mainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(m_desktop.waitUntilGone(m_program.pid(), SkinLayout::Splash::kSize, 10000));

    if (GetParam() == SIGTERM) {
        // Delete the tariff; closing the editor writes the change.
        m_program.clickIn(*main, SkinLayout::MainWindow::ButtonEditTarifs);
        const std::optional<Desktop::Window> editor = m_program.window(SkinLayout::TariffEditor::kSize);
        ASSERT_TRUE(editor);
        m_program.clickIn(*editor, tariffEditorButton(3));
        const std::optional<Desktop::Window> question = m_program.window(SkinLayout::MessageDialog::kSize);
        ASSERT_TRUE(question);
        m_desktop.pressKey(*question, QStringLiteral("Return"));
        ASSERT_TRUE(m_desktop.waitUntilGone(m_program.pid(), SkinLayout::MessageDialog::kSize, 5000));
        m_program.clickIn(*editor, tariffEditorButton(0));
        ASSERT_TRUE(m_desktop.waitUntilGone(m_program.pid(), SkinLayout::TariffEditor::kSize, 5000));
        QThread::msleep(500);
        EXPECT_EQ(setting(QStringLiteral("Tarifs.NumberOfRecords")), QStringLiteral("0"))
            << "the edit waited for the end of a call";
    }

    const ProgramFolder::DialResult dialled = m_folder.dial({ QStringLiteral("DemoEntry") });
    ASSERT_EQ(dialled.exitCode, 0) << dialled.output.toStdString();
    QThread::msleep(3000);
    EXPECT_NE(setting(QStringLiteral("Log.NumberOfRecords")), QStringLiteral("1")) << "logged while running";

    ASSERT_EQ(::kill(pid_t(m_program.pid()), GetParam()), 0);
    ASSERT_TRUE(m_program.waitForExit(10000)) << "the program did not end";

    EXPECT_EQ(setting(QStringLiteral("Log.NumberOfRecords")), QStringLiteral("1")) << "the running call is logged";
    const QByteArray log = m_folder.readFile(QStringLiteral("Log.data"));
    ASSERT_EQ(log.size(), kLogFileSize);
    const std::uint32_t seconds = u32(log, 16);
    // The dialler returns once connected; a loaded machine may take a while more.
    EXPECT_GE(seconds, 2u);
    EXPECT_LE(seconds, 20u);
    const QByteArray providers = m_folder.readFile(QStringLiteral("Providers.data"));
    ASSERT_EQ(providers.size(), kProvidersFileSize);
    const std::optional<int> demo = providerIndex(providers, QStringLiteral("DemoEntry"));
    ASSERT_TRUE(demo);
    EXPECT_EQ(u8(log, 12), *demo);
    EXPECT_EQ(u16(providers, providerOffset(*demo) + 104), 1) << "calls to date";
    if (GetParam() != SIGTERM) {
        EXPECT_EQ(i64(log, 20), std::int64_t(seconds) * 200) << "costed by the tariff";
    }
    EXPECT_EQ(m_folder.readFile(QStringLiteral("Tariffs.data")).size(), kTariffsFileSize);
}

INSTANTIATE_TEST_SUITE_P(Signals, Termination, ::testing::Values(SIGTERM, SIGHUP, SIGINT),
    [](const ::testing::TestParamInfo<int> &instance) {
        return instance.param == SIGTERM ? std::string("Term")
            : instance.param == SIGHUP   ? std::string("Hangup")
                                         : std::string("Interrupt");
    });
