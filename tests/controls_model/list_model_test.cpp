// The window-free half of the list control: columns, rows, the comparison rules, selection and
// batched updates.
#include "controls/list_model.h"

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A list with the given headings and one row per entry of rows (texts by column).
void fill(CListModel &model, const QStringList &headings, const QList<QStringList> &rows)
{
    for (const QString &heading : headings)
        model.InsertColumn(-1, heading);
    for (const QStringList &texts : rows) {
        const int row = model.InsertItem(-1, texts.value(0));
        for (int c = 1; c < texts.size(); ++c)
            model.SetItemText(row, c, texts[c]);
        model.SetItemData(row, row + 1);
    }
}

QStringList column(const CListModel &model, int col)
{
    QStringList texts;
    for (int r = 0; r < model.GetItemCount(); ++r)
        texts << model.GetItemText(r, col);
    return texts;
}

} // namespace

TEST(ListModelColumns, AppendSetsCountMinimumWidthAndTextType)
{
    CListModel model;
    EXPECT_EQ(model.InsertColumn(-1, QStringLiteral("Year"), CListModel::FormatLeft, 50), 0);
    EXPECT_EQ(model.InsertColumn(-1, QStringLiteral("Title"), CListModel::FormatRight, 150), 1);
    EXPECT_EQ(model.GetColumnCount(), 2);
    EXPECT_EQ(model.GetHeaderWidth(0), 50);
    EXPECT_EQ(model.GetHeaderWidth(1), 150);
    EXPECT_EQ(model.GetColumnType(0), 0);
    EXPECT_EQ(model.GetColumnType(1), 0);
    EXPECT_EQ(model.GetHeaderWidth(2), -1);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Title"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignRight | Qt::AlignVCenter));
}

TEST(ListModelColumns, WidthMinusOneIsMeasuredFromTheHeading)
{
    CListModel model;
    model.SetHeadingMeasurer([](const QString &heading) { return int(heading.size()) * 10; });
    model.InsertColumn(-1, QStringLiteral("Items"));
    EXPECT_EQ(model.GetHeaderWidth(0), 50);

    CListModel plain; // no measurer: a positive estimate, 0 for no heading
    plain.InsertColumn(-1, QStringLiteral("Items"));
    plain.InsertColumn(-1, QString());
    EXPECT_GT(plain.GetHeaderWidth(0), 0);
    EXPECT_EQ(plain.GetHeaderWidth(1), 0);
}

TEST(ListModelColumns, IndexBeyondTheCountAppends)
{
    CListModel model;
    EXPECT_EQ(model.InsertColumn(5, QStringLiteral("A")), 0);
    EXPECT_EQ(model.GetColumnCount(), 1);
}

TEST(ListModelColumns, InsertingBeforeExistingColumnsShiftsTextsWidthsAndTypes)
{
    CListModel model;
    fill(model, { QStringLiteral("A"), QStringLiteral("B") }, { { "a0", "b0" } });
    model.SetColumnType(1, CListModel::TypeDate);
    model.InsertColumn(1, QStringLiteral("New"), 0, 33);
    EXPECT_EQ(model.GetColumnCount(), 3);
    EXPECT_EQ(model.GetItemText(0, 0), QStringLiteral("a0"));
    EXPECT_EQ(model.GetItemText(0, 1), QString());
    EXPECT_EQ(model.GetItemText(0, 2), QStringLiteral("b0"));
    EXPECT_EQ(model.GetHeaderWidth(1), 33);
    EXPECT_EQ(model.GetColumnType(1), 0);
    EXPECT_EQ(model.GetColumnType(2), CListModel::TypeDate);
}

TEST(ListModelColumns, DeleteColumnDropsItAndItsTexts)
{
    CListModel model;
    fill(model, { "A", "B", "C" }, { { "a", "b", "c" } });
    model.SortOnColumn(2);
    EXPECT_TRUE(model.DeleteColumn(1));
    EXPECT_EQ(model.GetColumnCount(), 2);
    EXPECT_EQ(model.GetItemText(0, 1), QStringLiteral("c"));
    EXPECT_EQ(model.GetSortColumn(), 1); // follows its column
    EXPECT_FALSE(model.DeleteColumn(2));
    EXPECT_FALSE(model.DeleteColumn(-1));
    EXPECT_TRUE(model.DeleteColumn(1));
    EXPECT_EQ(model.GetSortColumn(), -1); // its column is gone
    EXPECT_TRUE(model.DeleteColumn(0));
    EXPECT_EQ(model.GetColumnCount(), 0);
    EXPECT_FALSE(model.DeleteColumn(0));
}

TEST(ListModelColumns, SetColumnTypeRefusesBadColumnsAndTypes)
{
    CListModel model;
    fill(model, { "A", "B" }, {});
    EXPECT_TRUE(model.SetColumnType(1, CListModel::TypeDate));
    EXPECT_FALSE(model.SetColumnType(1, CListModel::ColumnType(4)));
    EXPECT_FALSE(model.SetColumnType(1, CListModel::ColumnType(-1)));
    EXPECT_FALSE(model.SetColumnType(2, CListModel::TypeNumber));
    EXPECT_FALSE(model.SetColumnType(-1, CListModel::TypeNumber));
    EXPECT_EQ(model.GetColumnType(1), 3); // unchanged by the refusals
    EXPECT_EQ(model.GetColumnType(0), 0);
    EXPECT_EQ(model.GetColumnType(2), -1);
    EXPECT_EQ(model.GetColumnType(-1), -1);
}

TEST(ListModelColumns, EmptyHeadingHidesAndANewHeadingSizesToTheHeadingOnly)
{
    CListModel model;
    model.InsertColumn(-1, QStringLiteral("Name"), 0, 120);
    QSignalSpy sizing(&model, &CListModel::columnSizeRequested);
    QSignalSpy header(&model, &QAbstractItemModel::headerDataChanged);

    EXPECT_FALSE(model.IsColumnHidden(0));
    EXPECT_TRUE(model.SetColumnText(0, QString()));
    EXPECT_TRUE(model.IsColumnHidden(0));
    EXPECT_EQ(model.GetHeaderWidth(0), 0);
    EXPECT_EQ(model.GetColumnText(0), QString());
    ASSERT_EQ(sizing.count(), 1);
    EXPECT_EQ(sizing.at(0).at(1).value<CListModel::Sizing>(), CListModel::Sizing::HeadingOnly);

    EXPECT_TRUE(model.SetColumnText(0, QStringLiteral("Shown")));
    EXPECT_EQ(model.GetColumnText(0), QStringLiteral("Shown"));
    EXPECT_FALSE(model.IsColumnHidden(0));
    EXPECT_EQ(model.GetHeaderWidth(0), 0); // the minimum stays 0: the heading alone decides
    EXPECT_EQ(sizing.count(), 2);
    EXPECT_EQ(header.count(), 2);
    EXPECT_FALSE(model.SetColumnText(1, QStringLiteral("x")));
}

TEST(ListModelRows, InsertAppendsForMinusOneAndPastTheEnd)
{
    CListModel model;
    fill(model, { "A", "B" }, {});
    EXPECT_EQ(model.InsertItem(-1, QStringLiteral("first")), 0);
    EXPECT_EQ(model.InsertItem(7, QStringLiteral("second")), 1);
    EXPECT_EQ(model.InsertItem(0, QStringLiteral("zero"), 2), 0);
    EXPECT_EQ(column(model, 0), QStringList({ "zero", "first", "second" }));
    EXPECT_EQ(model.GetItemText(1, 1), QString()); // other columns start empty
    EXPECT_EQ(model.GetItemData(1), 0); // user value starts at 0
    EXPECT_EQ(model.GetItemImage(0), 2);
    EXPECT_EQ(model.GetItemImage(1), -1);
}

TEST(ListModelRows, TextsValuesAndBadIndexes)
{
    CListModel model;
    fill(model, { "A", "B" }, { { "a", "b" } });
    EXPECT_TRUE(model.SetItemText(0, 1, QStringLiteral("changed")));
    EXPECT_EQ(model.GetItemText(0, 1), QStringLiteral("changed"));
    EXPECT_FALSE(model.SetItemText(1, 0, QStringLiteral("x")));
    EXPECT_FALSE(model.SetItemText(0, 2, QStringLiteral("x")));
    EXPECT_FALSE(model.SetItemText(-1, 0, QStringLiteral("x")));
    EXPECT_EQ(model.GetItemText(0, 5), QString());
    EXPECT_EQ(model.GetItemText(3, 0), QString());

    EXPECT_TRUE(model.SetItemData(0, -42));
    EXPECT_EQ(model.GetItemData(0), -42);
    EXPECT_EQ(model.data(model.index(0, 1), Qt::UserRole).toInt(), -42);
    EXPECT_FALSE(model.SetItemData(1, 5));
    EXPECT_EQ(model.GetItemData(1), 0);
    EXPECT_EQ(model.GetItemData(-1), 0);
}

TEST(ListModelRows, DeleteItemAndDeleteAll)
{
    CListModel model;
    fill(model, { "A" }, { { "a" }, { "b" }, { "c" } });
    EXPECT_TRUE(model.DeleteItem(1));
    EXPECT_EQ(column(model, 0), QStringList({ "a", "c" }));
    EXPECT_EQ(model.GetItemData(1), 3);
    EXPECT_FALSE(model.DeleteItem(2));
    model.SortOnColumn(0);
    EXPECT_TRUE(model.DeleteAllItems());
    EXPECT_EQ(model.GetItemCount(), 0);
    EXPECT_EQ(model.GetSortColumn(), 0); // the sort state outlives the rows
    EXPECT_TRUE(model.DeleteAllItems());
}

TEST(ListModelRows, CheckBoxesLiveInTheModel)
{
    CListModel model;
    fill(model, { "A", "B" }, { { "a", "b" } });
    EXPECT_FALSE(model.flags(model.index(0, 0)).testFlag(Qt::ItemIsUserCheckable));
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::CheckStateRole).isValid());
    model.SetCheckBoxes(true);
    EXPECT_TRUE(model.flags(model.index(0, 0)).testFlag(Qt::ItemIsUserCheckable));
    EXPECT_FALSE(model.flags(model.index(0, 1)).testFlag(Qt::ItemIsUserCheckable));
    QSignalSpy checks(&model, &CListModel::checkChanged);
    EXPECT_TRUE(model.setData(model.index(0, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(model.GetCheck(0));
    EXPECT_EQ(model.data(model.index(0, 0), Qt::CheckStateRole).toInt(), int(Qt::Checked));
    ASSERT_EQ(checks.count(), 1);
    EXPECT_EQ(checks.at(0).at(1).toBool(), true);
    EXPECT_FALSE(model.setData(model.index(0, 1), Qt::Checked, Qt::CheckStateRole));
}

// --- sorting ---

TEST(ListModelSort, SizeColumnFirstClickLargestFirstSecondReverses)
{
    CListModel model;
    fill(model, { "Name", "Size" }, { { "two", "2K" }, { "nine", "900" }, { "one", "1M" } });
    ASSERT_TRUE(model.SetColumnType(1, CListModel::TypeSize));
    model.SortOnColumn(1);
    EXPECT_EQ(column(model, 1), QStringList({ "1M", "2K", "900" }));
    EXPECT_EQ(model.GetSortColumn(), 1);
    EXPECT_TRUE(model.IsSortAscending());
    EXPECT_FALSE(model.IsDisplayedAscending());
    model.SortOnColumn(1);
    EXPECT_EQ(column(model, 1), QStringList({ "900", "2K", "1M" }));
    EXPECT_FALSE(model.IsSortAscending());
    model.SortOnColumn(1);
    EXPECT_EQ(column(model, 1), QStringList({ "1M", "2K", "900" }));
}

TEST(ListModelSort, SizeUnitsAreKibiAndAThousandKibi)
{
    CListModel model;
    EXPECT_LT(
        model.CompareTexts(CListModel::TypeSize, QStringLiteral("1048576"), QStringLiteral("1M")),
        0);
    EXPECT_EQ(
        model.CompareTexts(CListModel::TypeSize, QStringLiteral("1024000"), QStringLiteral("1M")),
        0);
    EXPECT_EQ(
        model.CompareTexts(CListModel::TypeSize, QStringLiteral("2048"), QStringLiteral("2K")), 0);
    EXPECT_EQ(model.CompareTexts(CListModel::TypeSize, QStringLiteral("2"), QStringLiteral("2k")),
              0); // upper case only
    EXPECT_EQ(
        model.CompareTexts(CListModel::TypeSize, QStringLiteral("12 files"), QStringLiteral("12")),
        0);
    EXPECT_EQ(model.CompareTexts(CListModel::TypeSize, QStringLiteral("none"), QStringLiteral("0")),
              0);
    // Large values neither overflow nor wrap the sign.
    EXPECT_GT(model.CompareTexts(CListModel::TypeSize, QStringLiteral("-2147483648M"),
                                 QStringLiteral("2147483647M")),
              0);
    EXPECT_LT(model.CompareTexts(CListModel::TypeSize, QStringLiteral("99999999999"),
                                 QStringLiteral("1")),
              0);
}

TEST(ListModelSort, TextColumnIsCaseSensitiveByCharacterCode)
{
    CListModel model;
    fill(model, { "Name" }, { { "apple" }, { "Banana" }, { "cherry" }, { "Apple" } });
    model.SortOnColumn(0);
    EXPECT_EQ(column(model, 0), QStringList({ "Apple", "Banana", "apple", "cherry" }));
    model.SortOnColumn(0);
    EXPECT_EQ(column(model, 0), QStringList({ "cherry", "apple", "Banana", "Apple" }));
}

TEST(ListModelSort, TiesBrokenByColumnZeroInBothDirections)
{
    CListModel model;
    fill(model, { "Name", "Kind", "Place" },
         { { "b", "x", "same" },
           { "a", "y", "same" },
           { "c", "z", "same" },
           { "0", "w", "other" } });
    model.SortOnColumn(2);
    EXPECT_EQ(column(model, 0), QStringList({ "0", "a", "b", "c" }));
    model.SortOnColumn(2);
    EXPECT_EQ(column(model, 0), QStringList({ "c", "b", "a", "0" }));
}

TEST(ListModelSort, ColumnZeroHasNoTieBreak)
{
    CListModel model;
    fill(model, { "Name", "Kind" }, { { "same", "2" }, { "same", "3" }, { "same", "1" } });
    model.SortOnColumn(0);
    EXPECT_EQ(column(model, 1), QStringList({ "2", "3", "1" })); // stable: kept as inserted
    model.SortOnColumn(0);
    EXPECT_EQ(column(model, 1), QStringList({ "2", "3", "1" }));
}

TEST(ListModelSort, NumberColumnLargestFirstWithLeadingPrefixes)
{
    CListModel model;
    fill(model, { "Name", "Value" },
         { { "a", "9.5" }, { "b", "abc" }, { "c", "10" }, { "d", "-1" }, { "e", " 3.5e1 units" } });
    ASSERT_TRUE(model.SetColumnType(1, CListModel::TypeNumber));
    model.SortOnColumn(1);
    EXPECT_EQ(column(model, 1), QStringList({ " 3.5e1 units", "10", "9.5", "abc", "-1" }));
    model.SortOnColumn(1);
    EXPECT_EQ(column(model, 1), QStringList({ "-1", "abc", "9.5", "10", " 3.5e1 units" }));
    EXPECT_TRUE(model.IsDisplayedAscending());
}

TEST(ListModelSort, NumberComparisonKeepsTheSinglePrecisionQuirk)
{
    CListModel model;
    // Equal values give -1 both ways.
    EXPECT_EQ(
        model.CompareTexts(CListModel::TypeNumber, QStringLiteral("1.5"), QStringLiteral("1.50")),
        -1);
    EXPECT_EQ(
        model.CompareTexts(CListModel::TypeNumber, QStringLiteral("1.50"), QStringLiteral("1.5")),
        -1);
    // The first value is rounded to single precision: 0.1f is above 0.1000000001, so the
    // larger second value does not count as larger.
    EXPECT_EQ(model.CompareTexts(CListModel::TypeNumber, QStringLiteral("0.1"),
                                 QStringLiteral("0.1000000001")),
              -1);
    EXPECT_EQ(
        model.CompareTexts(CListModel::TypeNumber, QStringLiteral("0.1"), QStringLiteral("0.2")),
        1);
    // A decimal comma is not read (the numbers are read with a point whatever the locale).
    EXPECT_EQ(
        model.CompareTexts(CListModel::TypeNumber, QStringLiteral("1,9"), QStringLiteral("1.5")),
        1);
}

TEST(ListModelSort, EqualNumbersAreNotTieBrokenByColumnZero)
{
    CListModel model;
    fill(model, { "Name", "Value" }, { { "b", "7" }, { "a", "7" }, { "c", "8" } });
    model.SetColumnType(1, CListModel::TypeNumber);
    model.SortOnColumn(1);
    // Column 0 would put "a" first; the equal values keep their order instead.
    EXPECT_EQ(column(model, 0), QStringList({ "c", "b", "a" }));
    model.SortOnColumn(1);
    EXPECT_EQ(column(model, 1), QStringList({ "7", "7", "8" }));
    EXPECT_EQ(model.GetItemCount(), 3);
}

TEST(ListModelSort, DatesInTheGivenLocaleWithUnparsableTextsFirst)
{
    CListModel model;
    model.SetDateLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    fill(model, { "Name", "Date" },
         { { "c", "1/2/2021" },
           { "a", "12/25/2020" },
           { "x", "not a date" },
           { "b", "1/2/2021 10:30 AM" },
           { "d", "3/4/19" } });
    ASSERT_TRUE(model.SetColumnType(1, CListModel::TypeDate));
    model.SortOnColumn(1);
    // 3/4/19 reads with a two-digit year; the time part is ignored, so b and c tie and are
    // ordered by column 0.
    EXPECT_EQ(column(model, 0), QStringList({ "x", "d", "a", "b", "c" }));
    model.SortOnColumn(1);
    EXPECT_EQ(column(model, 0), QStringList({ "c", "b", "a", "d", "x" }));
}

TEST(ListModelSort, DatesFollowTheLocale)
{
    CListModel model;
    model.SetDateLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_LT(model.CompareTexts(CListModel::TypeDate, QStringLiteral("24.12.2020"),
                                 QStringLiteral("02.01.2021")),
              0);
    EXPECT_EQ(model.CompareTexts(CListModel::TypeDate, QStringLiteral("24.12.2020"),
                                 QStringLiteral("24.12.20")),
              0);
    EXPECT_EQ(model.CompareTexts(CListModel::TypeDate, QStringLiteral("junk"), QStringLiteral("")),
              0);
    EXPECT_LT(model.CompareTexts(CListModel::TypeDate, QStringLiteral("junk"),
                                 QStringLiteral("01.01.1900")),
              0);
}

TEST(ListModelSort, MinusOneAndBadColumnsDoNothing)
{
    CListModel model;
    fill(model, { "A" }, { { "b" }, { "a" } });
    model.SortOnColumn(-1);
    model.SortOnColumn(3);
    EXPECT_EQ(model.GetSortColumn(), -1);
    EXPECT_EQ(column(model, 0), QStringList({ "b", "a" }));
}

TEST(ListModelSort, NewColumnRestartsTheFlag)
{
    CListModel model;
    fill(model, { "A", "B" }, { { "b", "1" }, { "a", "2" } });
    model.SortOnColumn(0);
    model.SortOnColumn(0);
    EXPECT_FALSE(model.IsSortAscending());
    model.SortOnColumn(1);
    EXPECT_TRUE(model.IsSortAscending());
    EXPECT_EQ(model.GetSortColumn(), 1);
}

TEST(ListModelSort, LargeListMatchesAStableReferenceSort)
{
    CListModel model;
    model.InsertColumn(-1, QStringLiteral("Name"));
    model.InsertColumn(-1, QStringLiteral("Kind"));
    QRandomGenerator random(7);
    struct Ref
    {
        QString name, kind;
        int value;
    };
    std::vector<Ref> reference;
    {
        CListModel::BatchUpdate batch(model);
        for (int i = 0; i < 5000; ++i) {
            const QString name = QStringLiteral("n%1").arg(random.bounded(800));
            const QString kind = QStringLiteral("k%1").arg(random.bounded(20));
            model.InsertItem(-1, name);
            model.SetItemText(i, 1, kind);
            model.SetItemData(i, i);
            reference.push_back({ name, kind, i });
        }
    }
    model.SortOnColumn(1);
    std::stable_sort(reference.begin(), reference.end(), [](const Ref &a, const Ref &b) {
        return a.kind != b.kind ? a.kind < b.kind : a.name < b.name;
    });
    for (int r = 0; r < model.GetItemCount(); ++r)
        ASSERT_EQ(model.GetItemData(r), reference[r].value) << r;

    model.SortOnColumn(1);
    std::stable_sort(reference.begin(), reference.end(), [](const Ref &a, const Ref &b) {
        return a.kind != b.kind ? a.kind > b.kind : a.name > b.name;
    });
    for (int r = 0; r < model.GetItemCount(); ++r)
        ASSERT_EQ(model.GetItemData(r), reference[r].value) << r;
}

TEST(ListModelSort, SortKeepsTheSelectionOnItsRecordAndEmitsALayoutChange)
{
    CListModel model;
    fill(model, { "A" }, { { "c" }, { "a" }, { "b" } });
    model.SetCurSel(0); // "c", value 1
    QSignalSpy layout(&model, &QAbstractItemModel::layoutChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.SortOnColumn(0);
    EXPECT_EQ(layout.count(), 1);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(model.GetCurSel(), 2);
    EXPECT_EQ(model.GetItemData(model.GetCurSel()), 1);
}

// --- selection ---

TEST(ListModelSelection, SetCurSelPastTheEndLeavesTheSelectionAlone)
{
    CListModel model;
    fill(model, { "A" }, { { "a" }, { "b" }, { "c" } });
    EXPECT_EQ(model.GetCurSel(), -1);
    EXPECT_EQ(model.SetCurSel(1), 0);
    EXPECT_EQ(model.SetCurSel(3), -1);
    EXPECT_EQ(model.GetCurSel(), 1);
    EXPECT_EQ(model.SetCurSel(100), -1);
    EXPECT_EQ(model.GetCurSel(), 1);
}

TEST(ListModelSelection, SetCurSelClearsOthersWithoutMovingTheCurrentIndex)
{
    CListModel model;
    fill(model, { "A", "B" }, { { "a" }, { "b" }, { "c" }, { "d" } });
    QItemSelectionModel *selection = model.GetSelectionModel();
    selection->select(model.index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection->select(model.index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    int rows[4] = {};
    EXPECT_EQ(model.GetSelectedItems(4, rows), 2);
    EXPECT_EQ(rows[0], 0);
    EXPECT_EQ(rows[1], 3);
    EXPECT_EQ(model.GetSelectedItems(1, rows), 1);
    EXPECT_EQ(model.GetSelectedItems(0, rows), 0);

    EXPECT_EQ(model.SetCurSel(2), 0);
    EXPECT_EQ(model.GetSelectedItems(4, rows), 1);
    EXPECT_EQ(rows[0], 2);
    EXPECT_TRUE(selection->isRowSelected(2, {})); // the whole row
    EXPECT_FALSE(selection->currentIndex().isValid());
    EXPECT_EQ(model.SetCurSel(-1), -1);
    EXPECT_EQ(model.GetCurSel(), -1);
}

TEST(ListModelSelection, EnsureVisibleAsksTheView)
{
    CListModel model;
    fill(model, { "A" }, { { "a" }, { "b" } });
    QSignalSpy spy(&model, &CListModel::ensureVisibleRequested);
    model.EnsureVisible(1);
    model.EnsureVisible(2); // no such row
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 1);
}

// --- batches ---

TEST(ListModelBatch, AFillIsOneResetAndSelectionWaitsForTheEnd)
{
    CListModel model;
    model.InsertColumn(-1, QStringLiteral("Name"));
    fill(model, {}, { { "old" } });
    model.SetCurSel(0);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy sizing(&model, &CListModel::columnSizeRequested);
    QSignalSpy visible(&model, &CListModel::ensureVisibleRequested);
    {
        CListModel::BatchUpdate batch(model);
        model.DeleteAllItems();
        for (int i = 0; i < 1000; ++i) {
            const int row = model.InsertItem(-1, QStringLiteral("row %1").arg(i));
            model.SetItemData(row, i + 1);
        }
        EXPECT_EQ(model.SetCurSel(500), 0);
        EXPECT_EQ(model.GetCurSel(), 500);
        model.EnsureVisible(500);
        EXPECT_EQ(reset.count(), 0);
        EXPECT_EQ(visible.count(), 0);
    }
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(inserted.count(), 0);
    EXPECT_EQ(sizing.count(), 1); // column 0 once, not per row
    EXPECT_EQ(visible.count(), 1);
    EXPECT_EQ(model.GetItemCount(), 1000);
    EXPECT_EQ(model.GetCurSel(), 500);
    EXPECT_EQ(model.GetItemData(500), 501);
}

TEST(ListModelBatch, TextChangesAloneKeepTheSelection)
{
    CListModel model;
    fill(model, { "A" }, { { "a" }, { "b" } });
    model.SetCurSel(1);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.BeginBatch();
    model.BeginBatch(); // nests
    model.SetItemText(0, 0, QStringLiteral("x"));
    model.SetItemText(1, 0, QStringLiteral("y"));
    model.EndBatch();
    EXPECT_EQ(changed.count(), 0);
    model.EndBatch();
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(model.GetCurSel(), 1);
}

TEST(ListModelWidths, LongestTextRowFollowsChanges)
{
    CListModel model;
    fill(model, { "A", "B" }, { { "aa", "x" }, { "aaaa", "xx" }, { "a", "xxx" } });
    EXPECT_EQ(model.GetLongestTextRow(0), 1);
    EXPECT_EQ(model.GetLongestTextRow(1), 2);
    model.SetItemText(1, 0, QStringLiteral("b"));
    EXPECT_EQ(model.GetLongestTextRow(0), 0);
    model.InsertItem(0, QStringLiteral("longest text"));
    EXPECT_EQ(model.GetLongestTextRow(0), 0);
    EXPECT_EQ(model.GetLongestTextRow(1), 3);
    model.SortOnColumn(0);
    EXPECT_EQ(model.GetItemText(model.GetLongestTextRow(0), 0), QStringLiteral("longest text"));
    model.DeleteAllItems();
    EXPECT_EQ(model.GetLongestTextRow(0), -1);
}

TEST(ListModelFilter, WordsSetRowsAsideInOrderAndBringThemBack)
{
    CListModel model;
    fill(model, { "Name", "Size" },
         { { "apple pie", "3" },
           { "banana", "1" },
           { "cherry pie", "2" },
           { "apple tart", "5" },
           { "pear", "4" },
           { "peach pie", "6" },
           { "no key", "7" } });
    for (int row = 0; row + 1 < model.GetItemCount(); ++row)
        model.SetItemFilterKey(row, model.GetItemText(row, 0).toUtf8());
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    model.SetCurSel(2);

    model.SetFilterWords({ "pie" });
    EXPECT_TRUE(model.IsFiltered());
    EXPECT_EQ(column(model, 0), (QStringList { "apple pie", "cherry pie", "peach pie" }));
    EXPECT_EQ(model.GetUnfilteredCount(), 7);
    EXPECT_EQ(model.GetItemData(1), 3); // row indexes count the listed rows
    EXPECT_EQ(model.GetCurSel(), -1); // a reset: the owner selects again
    EXPECT_EQ(resets.count(), 1);

    // Typing on narrows; every word must be held, in any order.
    model.SetFilterWords({ "pie", "ap" });
    EXPECT_EQ(column(model, 0), QStringList { "apple pie" });
    model.SetFilterWords({ "p", "a" }); // broader again: the unlisted rows come back in order
    EXPECT_EQ(column(model, 0), (QStringList { "apple pie", "apple tart", "pear", "peach pie" }));
    model.SetFilterWords({ "zzz" });
    EXPECT_EQ(model.GetItemCount(), 0);
    model.SetFilterWords({ "pear" });
    EXPECT_EQ(column(model, 0), QStringList { "pear" });

    // A row inserted meanwhile stays listed and keeps its place behind the row before it; a
    // column inserted meanwhile shifts the texts of the unlisted rows as well.
    model.InsertItem(1, QStringLiteral("pear tart"));
    model.InsertItem(0, QStringLiteral("first"));
    model.InsertColumn(0, QStringLiteral("Left"));
    model.SetFilterWords({});
    EXPECT_FALSE(model.IsFiltered());
    EXPECT_EQ(column(model, 1),
              (QStringList { "first", "apple pie", "banana", "cherry pie", "apple tart", "pear",
                             "pear tart", "peach pie", "no key" }));
    EXPECT_EQ(column(model, 2), (QStringList { "", "3", "1", "2", "5", "4", "", "6", "7" }));
    model.DeleteColumn(0);

    // Sorting while filtered sorts every row; the words then list the same rows, sorted. (The
    // keys now in one block, as a search over a large list gives them.)
    model.SetFilterKeys([&model](int row) { return model.GetItemText(row, 0).toUtf8(); });
    EXPECT_EQ(model.GetItemFilterKey(2), QByteArray("banana"));
    model.SetFilterWords({ "pie" });
    model.SetColumnType(1, CListModel::TypeNumber);
    model.SortOnColumn(1); // largest first
    EXPECT_EQ(column(model, 0), (QStringList { "peach pie", "apple pie", "cherry pie" }));
    model.SetFilterWords({});
    EXPECT_EQ(column(model, 0).mid(0, 5),
              (QStringList { "no key", "peach pie", "apple tart", "pear", "apple pie" }));

    // Emptying the list ends the filter with it.
    model.SetFilterWords({ "pie" });
    model.DeleteAllItems();
    EXPECT_FALSE(model.IsFiltered());
    model.InsertItem(-1, QStringLiteral("new"));
    EXPECT_EQ(model.GetUnfilteredCount(), 1);
}

TEST(ListModelTester, ModelContractHoldsThroughEveryOperation)
{
    CListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.InsertColumn(-1, QStringLiteral("Name"));
    model.InsertColumn(-1, QStringLiteral("Size"), CListModel::FormatCenter);
    for (int i = 0; i < 20; ++i) {
        const int row = model.InsertItem(i % 3 == 0 ? 0 : -1, QStringLiteral("n%1").arg(i % 7));
        model.SetItemText(row, 1, QStringLiteral("%1K").arg(i));
        model.SetItemData(row, i - 5);
    }
    model.SetCurSel(4);
    model.SetColumnType(1, CListModel::TypeSize);
    model.SortOnColumn(1);
    model.SortOnColumn(1);
    model.SortOnColumn(0);
    model.DeleteItem(3);
    model.InsertColumn(1, QStringLiteral("Middle"));
    model.DeleteColumn(1);
    model.SetColumnText(1, QString());
    model.SetCheckBoxes(true);
    model.setData(model.index(0, 0), Qt::Checked, Qt::CheckStateRole);
    for (int row = 0; row < model.GetItemCount(); ++row)
        model.SetItemFilterKey(row, model.GetItemText(row, 0).toUtf8());
    model.SetFilterWords({ "n" });
    model.SetFilterWords({ "n1" });
    model.InsertItem(0, QStringLiteral("while filtered"));
    model.DeleteItem(1);
    model.SortOnColumn(0);
    model.SetFilterWords({});
    {
        CListModel::BatchUpdate batch(model);
        model.DeleteAllItems();
        for (int i = 0; i < 50; ++i)
            model.InsertItem(-1, QStringLiteral("b%1").arg(i));
        model.SortOnColumn(0);
    }
    model.DeleteAllItems();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.rowCount(model.index(0, 0)), 0);
}
