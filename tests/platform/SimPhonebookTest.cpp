#include "platform/simdialup/SimPhonebook.h"
#include "core/store/AtomicFile.h"
#include "platform/simdialup/SimErrors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SimPhonebookTest : public ::testing::Test {
protected:
    void writePhonebook(const QByteArray &text) { ASSERT_TRUE(writeFileAtomically(phonebook.filePath(), text)); }
    QByteArray phonebookText() const
    {
        QFile file(phonebook.filePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    SimPhonebook phonebook { dir.path() };
};

} // namespace

TEST_F(SimPhonebookTest, FirstUseCreatesTheDemoEntry)
{
    ASSERT_FALSE(QFile::exists(phonebook.filePath()));
    EXPECT_EQ(phonebook.entryNames(), QStringList { QStringLiteral("DemoEntry") });
    EXPECT_TRUE(QFile::exists(phonebook.filePath()));
    const auto demo = phonebook.entry(QStringLiteral("demoentry"));
    ASSERT_TRUE(demo);
    EXPECT_EQ(demo->name, QStringLiteral("DemoEntry")) << "the phonebook's spelling";
    EXPECT_EQ(demo->userName, QStringLiteral("demo"));
    EXPECT_TRUE(demo->savePassword);
    EXPECT_FALSE(demo->password.isEmpty());
    EXPECT_TRUE(demo->answers);
    EXPECT_EQ(demo->failWithError, 0u);
    EXPECT_EQ(demo->dropAfterSeconds, 0);

    writePhonebook("; all entries deleted\n");
    EXPECT_EQ(phonebook.entryNames(), QStringList {}) << "an existing empty phonebook stays empty";
}

TEST_F(SimPhonebookTest, UnusableNamesAreSkipped)
{
    writePhonebook("[Home]\n"
                   "[]\n"
                   "[   ]\n"
                   "[Tab\there]\n"
                   "["
        + QByteArray(257, 'x')
        + "]\n"
          "["
        + QByteArray(256, 'y')
        + "]\n"
          "[HOME]\n"
          "[Caf\xc3\xa9 & Co]\n"
          "[unclosed\n"
          "\x01\x02\xff\xfe garbage = "
        + QByteArray(1, '\0')
        + "\n"
          "[Work]\n");
    EXPECT_EQ(phonebook.entryNames(),
        (QStringList { QStringLiteral("Home"), QString(256, QLatin1Char('y')), QStringLiteral("Caf\u00e9 & Co"),
            QStringLiteral("Work") }));
    EXPECT_EQ(phonebook.entry(QStringLiteral("Missing")).error(), simdialup::kEntryNotFound);
}

TEST_F(SimPhonebookTest, UnusableValuesReadAsDefaults)
{
    struct Case {
        QByteArray values;
        double stageSeconds;
        bool answers;
        std::uint32_t failWithError;
        int dropAfterSeconds;
        bool savePassword;
    };
    const Case cases[] = {
        { "StageSeconds=0.5\nAnswers=0\nFailWithError=676\nDropAfterSeconds=30\nSavePassword=1\n", 0.5, false, 676, 30,
            true },
        { "StageSeconds=0\nAnswers=no\nSavePassword=yes\n", 0, false, 0, 0, true },
        { "StageSeconds=abc\nAnswers=maybe\nFailWithError=-3\nDropAfterSeconds=x\nSavePassword=2\n", 1, true, 0, 0,
            false },
        { "StageSeconds=-1\nFailWithError=99999999999\nDropAfterSeconds=864001\n", 1, true, 0, 0, false },
        { "StageSeconds=61\nDropAfterSeconds=-5\n", 1, true, 0, 0, false },
        { "StageSeconds=nan\n", 1, true, 0, 0, false },
        { "StageSeconds=inf\n", 1, true, 0, 0, false },
        { "", 1, true, 0, 0, false },
    };
    for (const Case &c : cases) {
        writePhonebook("[Line]\n" + c.values);
        const auto entry = phonebook.entry(QStringLiteral("Line"));
        ASSERT_TRUE(entry) << c.values.constData();
        EXPECT_EQ(entry->stageSeconds, c.stageSeconds) << c.values.constData();
        EXPECT_EQ(entry->answers, c.answers) << c.values.constData();
        EXPECT_EQ(entry->failWithError, c.failWithError) << c.values.constData();
        EXPECT_EQ(entry->dropAfterSeconds, c.dropAfterSeconds) << c.values.constData();
        EXPECT_EQ(entry->savePassword, c.savePassword) << c.values.constData();
    }
}

TEST_F(SimPhonebookTest, OversizedFileIsAnErrorNotAHang)
{
    writePhonebook(QByteArray(SimPhonebook::kMaxFileBytes + 1, '['));
    EXPECT_EQ(phonebook.entryNames().error(), simdialup::kPhonebookFailed);
    EXPECT_EQ(phonebook.entry(QStringLiteral("x")).error(), simdialup::kPhonebookFailed);
}

TEST_F(SimPhonebookTest, StoringKeepsTheRestOfTheFile)
{
    writePhonebook("; my notes\n[Home]\nUserName=ann\nColour=blue\n");
    SimEntry work;
    work.name = QStringLiteral("Work");
    work.userName = QStringLiteral("bob\n[Evil]\nPassword=x");
    work.password = QStringLiteral("pa ss");
    ASSERT_TRUE(phonebook.store(work, SimPhonebook::StoreMode::Create));
    EXPECT_EQ(phonebook.entryNames(), (QStringList { QStringLiteral("Home"), QStringLiteral("Work") }))
        << "a line break in a value starts no section";
    EXPECT_EQ(phonebook.entry(QStringLiteral("Work"))->userName, QStringLiteral("bob [Evil] Password=x"));
    EXPECT_EQ(phonebook.entry(QStringLiteral("Work"))->password, QStringLiteral("pa ss"));

    SimEntry home;
    home.name = QStringLiteral("HOME");
    EXPECT_EQ(phonebook.store(home, SimPhonebook::StoreMode::Create).error(), simdialup::kAlreadyExists);
    home.userName = QStringLiteral("carol");
    ASSERT_TRUE(phonebook.store(home, SimPhonebook::StoreMode::Replace));
    EXPECT_EQ(phonebook.entryNames(), (QStringList { QStringLiteral("Home"), QStringLiteral("Work") }))
        << "replaced under its own spelling";
    EXPECT_EQ(phonebook.entry(QStringLiteral("Home"))->userName, QStringLiteral("carol"));
    const QByteArray text = phonebookText();
    EXPECT_TRUE(text.startsWith("; my notes\r\n"));
    EXPECT_TRUE(text.contains("Colour=blue"));

    SimEntry bad;
    bad.name = QStringLiteral(" padded");
    EXPECT_FALSE(phonebook.store(bad, SimPhonebook::StoreMode::Create));
}
