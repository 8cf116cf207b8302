#include "core/tariffs/TariffEditor.h"

#include "core/store/TableBlanks.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class TariffEditorTest : public ::testing::Test {
protected:
    TariffEditorTest() { blankTariffTable(*table); }

    static TariffEdit edit(const QString &name, std::int32_t start, std::int32_t finish)
    {
        TariffEdit e;
        e.name = name;
        e.startTime = start;
        e.finishTime = finish;
        e.unitCost = QStringLiteral("0.10");
        e.minCharge = QStringLiteral("0");
        return e;
    }

    // New and Save with the default name, as a user who changes only the window.
    int add(std::int32_t start, std::int32_t finish)
    {
        auto name = editor.New();
        EXPECT_TRUE(name.has_value());
        auto index = editor.Save(edit(*name, start, finish), QLocale::c());
        EXPECT_TRUE(index.has_value());
        return index.value_or(-1);
    }

    std::unique_ptr<TariffTable> table = std::make_unique<TariffTable>();
    TariffEditor editor { *table };
};

} // namespace

TEST_F(TariffEditorTest, CancelledNewTariffsUseUpTheirNumbers)
{
    add(0, 100);
    add(200, 300);
    add(400, 500);
    ASSERT_EQ(table->Count, 3);
    EXPECT_EQ(table->records[2].IdNumber, 3u);

    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(editor.New().has_value());
        editor.Cancel();
    }
    EXPECT_EQ(table->Count, 3);

    auto name = editor.New();
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(*name, QStringLiteral("Tariff 6"));
    EXPECT_EQ(editor.PendingIdNumber(), 6u);
    auto index = editor.Save(edit(*name, 600, 700), QLocale::c());
    ASSERT_EQ(index, 3);
    EXPECT_EQ(table->records[3].IdNumber, 6u);
    EXPECT_EQ(table->records[3].Name.text(), QStringLiteral("Tariff 6"));
    EXPECT_EQ(table->LastTariffIdNumber, 6u);
    EXPECT_EQ(table->CurrentIndex, 3) << "the stored tariff becomes current";
    EXPECT_EQ(editor.mode(), TariffEditorMode::Viewing);
}

TEST_F(TariffEditorTest, EditingKeepsTheIdAndIgnoresItselfWhenLookingForClashes)
{
    add(0, 1000);
    add(2000, 3000);
    ASSERT_TRUE(editor.select(1));
    ASSERT_TRUE(editor.Edit());
    EXPECT_EQ(editor.EditMode(), 1);
    TariffEdit unchanged = edit(QStringLiteral("Tariff 2"), 2000, 3000);
    EXPECT_EQ(editor.clash(unchanged), std::nullopt);
    TariffEdit widened = edit(QStringLiteral("Wide"), 500, 3000);
    EXPECT_EQ(editor.clash(widened), 0);
    ASSERT_EQ(editor.Save(widened, QLocale::c()), 1);
    EXPECT_EQ(table->Count, 2);
    EXPECT_EQ(table->records[1].IdNumber, 2u);
    EXPECT_EQ(table->records[1].Name.text(), QStringLiteral("Wide"));
    EXPECT_EQ(editor.EditMode(), 0);

    ASSERT_TRUE(editor.New().has_value());
    EXPECT_EQ(editor.clash(unchanged), 1) << "a new tariff is checked against every record";
}

TEST_F(TariffEditorTest, EmptyTableOffersNothingToEditOrDelete)
{
    EXPECT_FALSE(editor.Edit());
    EXPECT_FALSE(editor.Delete());
    EXPECT_FALSE(editor.select(0));
    EXPECT_EQ(editor.mode(), TariffEditorMode::Viewing);
    EXPECT_EQ(editor.Save(edit(QStringLiteral("x"), 0, 1)).error(), TariffEditProblem::WrongMode);
    EXPECT_EQ(table->Count, 0);
}

TEST_F(TariffEditorTest, DeletingTheCurrentTariffMovesLaterOnesDownAndSelectsTheFirst)
{
    add(0, 100);
    add(200, 300);
    add(400, 500);
    ASSERT_TRUE(editor.select(1));
    ASSERT_TRUE(editor.Delete());
    EXPECT_EQ(table->Count, 2);
    EXPECT_EQ(table->records[1].IdNumber, 3u);
    EXPECT_EQ(table->CurrentIndex, 0);
    ASSERT_TRUE(editor.Delete());
    ASSERT_TRUE(editor.Delete());
    EXPECT_EQ(table->Count, 0);
    EXPECT_FALSE(editor.Delete());
    EXPECT_EQ(add(0, 1), 0) << "the next tariff takes the first slot again";
    EXPECT_EQ(table->records[0].IdNumber, 4u) << "numbers of deleted tariffs are not given out again";
}

TEST_F(TariffEditorTest, AFullTableRefusesANewTariffWithoutUsingANumber)
{
    table->Count = kMaxTariffs;
    table->LastTariffIdNumber = 300;
    EXPECT_EQ(editor.New().error(), TariffEditProblem::TableFull);
    EXPECT_EQ(table->LastTariffIdNumber, 300u);
    EXPECT_EQ(editor.mode(), TariffEditorMode::Viewing);

    table->Count = kMaxTariffs - 1;
    EXPECT_EQ(add(0, 1), kMaxTariffs - 1);
    EXPECT_EQ(table->Count, kMaxTariffs);
    EXPECT_EQ(table->records[255].IdNumber, 301u);
}

TEST_F(TariffEditorTest, NewIsRefusedWhileATariffIsOpen)
{
    ASSERT_TRUE(editor.New().has_value());
    EXPECT_EQ(editor.New().error(), TariffEditProblem::WrongMode);
    EXPECT_EQ(table->LastTariffIdNumber, 1u);
    EXPECT_FALSE(editor.Delete());
}
