// The list control as a widget, offscreen: header sorting, column sizing, the drawing rules
// (checked on grabbed pixels) and the signals the views connect to.
#include "controls/auto_list_ctrl.h"

#include <QHeaderView>
#include <QImage>
#include <QListView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

QStringList column(const CAutoListCtrl &list, int col)
{
    QStringList texts;
    for (int r = 0; r < list.GetItemCount(); ++r)
        texts << list.GetItemText(r, col);
    return texts;
}

void showList(CAutoListCtrl &list, int width = 400, int height = 240)
{
    list.resize(width, height);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QCoreApplication::processEvents();
}

QImage grabViewport(CAutoListCtrl &list)
{
    return list.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRect rowRect(const CAutoListCtrl &list, int row)
{
    const QRect first = list.visualRect(list.model()->index(row, 0));
    return QRect(0, first.top(), list.viewport()->width(), first.height());
}

// Pixels of exactly this colour inside the rectangle.
int countColour(const QImage &image, const QRect &rect, const QColor &colour)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.pixelColor(x, y) == colour)
                ++count;
    return count;
}

// Antialiased text has few pixels of the exact colour: these tell text pixels by their hue.
bool isBlue(const QColor &c)
{
    return c.blue() > 200 && c.red() < 120 && c.green() < 120;
}

bool isGrey(const QColor &c)
{
    const int spread =
        std::max({ c.red(), c.green(), c.blue() }) - std::min({ c.red(), c.green(), c.blue() });
    return spread < 12 && c.red() >= 100 && c.red() <= 170;
}

int countMatching(const QImage &image, const QRect &rect, bool (*match)(const QColor &))
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += match(image.pixelColor(x, y));
    return count;
}

// The longest horizontal run of matching pixels inside the rectangle.
int longestRun(const QImage &image, const QRect &rect, bool (*match)(const QColor &))
{
    int best = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        int run = 0;
        for (int x = rect.left(); x <= rect.right(); ++x) {
            run = match(image.pixelColor(x, y)) ? run + 1 : 0;
            best = std::max(best, run);
        }
    }
    return best;
}

QPixmap solid(const QColor &colour, int size = 16)
{
    QPixmap pixmap(size, size);
    pixmap.fill(colour);
    return pixmap;
}

} // namespace

TEST(AutoListCtrl, HeaderClickSortsAndASecondClickReverses)
{
    CAutoListCtrl list;
    list.InsertColumn(-1, QStringLiteral("Name"), 0, 120);
    list.InsertColumn(-1, QStringLiteral("Size"), 0, 120);
    const QStringList names { "two", "nine", "one" }, sizes { "2K", "900", "1M" };
    for (int i = 0; i < 3; ++i) {
        list.InsertItem(-1, names[i]);
        list.SetItemText(i, 1, sizes[i]);
        list.SetItemData(i, i + 1);
    }
    list.SetColumnType(1, CListModel::TypeSize);
    showList(list);

    QHeaderView *header = list.header();
    const QPoint sizeHeading(header->sectionViewportPosition(1) + 20, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, sizeHeading);
    EXPECT_EQ(list.GetSortColumn(), 1);
    EXPECT_EQ(column(list, 1), QStringList({ "1M", "2K", "900" }));
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), 1);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder); // largest first

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, sizeHeading);
    EXPECT_EQ(column(list, 1), QStringList({ "900", "2K", "1M" }));
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_FALSE(list.IsSortAscending());

    const QPoint nameHeading(header->sectionViewportPosition(0) + 20, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, nameHeading);
    EXPECT_EQ(column(list, 0), QStringList({ "nine", "one", "two" }));
    EXPECT_EQ(header->sortIndicatorSection(), 0);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
}

// Headings are white on black, done rows grey; a row is a heading only when made one, so a
// choice whose id is 0 ("(No category)") is drawn as any other row.
TEST(AutoListCtrl, CustomDrawColoursFollowTheSignOfTheValueAndTheHeadings)
{
    CAutoListCtrl list(nullptr, CAutoListCtrl::SingleSelection);
    list.InsertColumn(-1, QStringLiteral("Items"));
    list.SetExtendedStyle(CAutoListCtrl::CheckBoxes);
    const qint32 values[] = { 5, 0, -5, 7, 0 };
    for (int i = 0; i < 5; ++i) {
        list.InsertItem(-1, QStringLiteral("MMMMMMMM %1").arg(i));
        list.SetItemData(i, values[i]);
    }
    list.SetItemHeading(1, true);
    EXPECT_FALSE(list.rowLook(0).text.isValid());
    EXPECT_FALSE(list.rowLook(0).background.isValid());
    EXPECT_EQ(list.rowLook(1).text, QColor(Qt::white));
    EXPECT_EQ(list.rowLook(1).background, QColor(Qt::black));
    EXPECT_EQ(list.rowLook(2).text, QColor(128, 128, 128));
    EXPECT_FALSE(list.rowLook(2).struckOut); // only owner draw strikes out
    // A heading is neither selected nor ticked; a plain row of value 0 is both.
    EXPECT_EQ(list.SetCurSel(1), -1);
    EXPECT_EQ(list.GetCurSel(), -1);
    EXPECT_FALSE(list.model()->index(1, 0).data(Qt::CheckStateRole).isValid());
    list.SetCurSel(4);
    EXPECT_EQ(list.GetCurSel(), 4);
    EXPECT_TRUE(list.model()->index(4, 0).data(Qt::CheckStateRole).isValid());
    list.SetCurSel(-1);

    showList(list);
    // The focused current row gets the style's focus tint; keep it on a row not checked here.
    list.selectionModel()->setCurrentIndex(list.model()->index(3, 0),
                                           QItemSelectionModel::NoUpdate);
    QImage image = grabViewport(list);
    const QRect headingRow = rowRect(list, 1);
    const QPoint besideText(list.GetColumnWidth(0) - 4, headingRow.center().y());
    EXPECT_EQ(image.pixelColor(besideText), QColor(Qt::black));
    EXPECT_GT(countColour(image, headingRow, Qt::white), 5); // white text
    EXPECT_EQ(image.pixelColor(besideText.x(), rowRect(list, 4).center().y()),
              image.pixelColor(besideText.x(), rowRect(list, 0).center().y()));
    EXPECT_GT(countColour(image, rowRect(list, 2), QColor(128, 128, 128)), 5);
    EXPECT_EQ(countColour(image, rowRect(list, 0), QColor(128, 128, 128)), 0);

    // Alternate rows: even rows (0, 2 and 4) turn green; the heading, row 1, stays black.
    list.SetAlternateRowColors(true);
    image = grabViewport(list);
    const QColor green(206, 239, 165);
    EXPECT_EQ(image.pixelColor(besideText.x(), rowRect(list, 0).center().y()), green);
    EXPECT_EQ(image.pixelColor(besideText.x(), rowRect(list, 2).center().y()), green);
    EXPECT_EQ(image.pixelColor(besideText), QColor(Qt::black));
    EXPECT_NE(image.pixelColor(besideText.x(), rowRect(list, 3).center().y()), green);
    list.DeleteItem(0); // the heading becomes row 0, an even row: green wins
    image = grabViewport(list);
    EXPECT_EQ(image.pixelColor(besideText.x(), rowRect(list, 0).center().y()), green);
}

TEST(AutoListCtrl, OwnerDrawBlueRowsAndGreyStruckOutRowsInEveryColumn)
{
    CAutoListCtrl list(nullptr, CAutoListCtrl::OwnerDraw);
    list.InsertColumn(-1, QStringLiteral("Task"), 0, 200);
    list.InsertColumn(-1, QStringLiteral("Where"), 0, 150);
    list.SetImageList({ solid(Qt::red), solid(Qt::green) });
    list.InsertItem(-1, QStringLiteral("Paint the fence"), 0);
    list.SetItemText(0, 1, QStringLiteral("Garden"));
    list.SetItemData(0, 3);
    list.InsertItem(-1, QStringLiteral("Fix the tap"), 1);
    list.SetItemText(1, 1, QStringLiteral("Kitchen"));
    list.SetItemData(1, -4);
    list.InsertItem(-1, QStringLiteral("Empty cell"), -1);
    list.SetItemData(2, 9);
    list.SetCurSel(0); // owner draw shows no selection highlight
    showList(list, 500);
    list.SetColumnWidth(0, 200);
    list.SetColumnWidth(1, 150);

    const QImage image = grabViewport(list);
    const QRect done = rowRect(list, 1), active = rowRect(list, 0);
    EXPECT_GT(countColour(image, active, QColor(0, 0, 255)), 0);
    EXPECT_GT(countMatching(image, active, isBlue), 30);
    EXPECT_EQ(countMatching(image, active, isGrey), 0);
    EXPECT_GT(countColour(image, done, QColor(128, 128, 128)), 0);
    EXPECT_EQ(countMatching(image, done, isBlue), 0);

    // The strike-out line: a long horizontal grey run in column 0 and in column 1.
    const int col1 = list.header()->sectionViewportPosition(1);
    const QRect doneCol0(0, done.top(), col1 - 20, done.height());
    const QRect doneCol1(col1 - 15, done.top(), list.header()->sectionSize(1), done.height());
    const int col0Text = list.fontMetrics().horizontalAdvance(QStringLiteral("Fix the tap"));
    const int col1Text = list.fontMetrics().horizontalAdvance(QStringLiteral("Kitchen"));
    EXPECT_GE(longestRun(image, doneCol0, isGrey), col0Text * 3 / 4);
    EXPECT_GE(longestRun(image, doneCol1, isGrey), col1Text * 3 / 4);
    EXPECT_LT(longestRun(image, QRect(0, active.top(), col1 - 20, active.height()), isBlue),
              col0Text / 2); // the active row is not struck out

    // The image, 15 x 15 at +3/+1 of the row.
    EXPECT_EQ(image.pixelColor(3, active.top() + 1), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(17, active.top() + 15), QColor(Qt::red));
    EXPECT_NE(image.pixelColor(18, active.top() + 8), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(3, done.top() + 1), QColor(Qt::green));

    // No selection highlight: the selected row's free area shows the list's background.
    const QColor base = list.viewport()->palette().color(QPalette::Base);
    EXPECT_EQ(image.pixelColor(list.viewport()->width() - 3, active.center().y()), base);
    // The row without a second text draws nothing there.
    const QRect emptyCell(col1, rowRect(list, 2).top(), 140, rowRect(list, 2).height());
    EXPECT_EQ(countColour(image, emptyCell, base), emptyCell.width() * emptyCell.height());
}

TEST(AutoListCtrl, OneColumnSpansTheControlAndColumnsFitTheirContents)
{
    CAutoListCtrl list;
    list.InsertColumn(-1, QStringLiteral("Homes"), 0, 170);
    list.InsertItem(-1, QStringLiteral("Lake house"));
    showList(list, 420);
    EXPECT_EQ(list.GetColumnWidth(0), list.viewport()->width());
    list.resize(600, 240);
    QCoreApplication::processEvents();
    EXPECT_EQ(list.GetColumnWidth(0), list.viewport()->width());

    CAutoListCtrl two;
    two.InsertColumn(-1, QStringLiteral("Year"), 0, 50);
    two.InsertColumn(-1, QStringLiteral("Title"), 0, 150);
    const QString longTitle = QStringLiteral("A very long title that needs a wide column indeed");
    two.InsertItem(-1, QStringLiteral("1999"));
    two.SetItemText(0, 1, longTitle);
    showList(two, 200);
    const int col1 = two.GetColumnWidth(1);
    EXPECT_GE(col1, two.fontMetrics().horizontalAdvance(longTitle)); // wider than the control
    EXPECT_GT(two.horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(two.GetHeaderWidth(0), 50); // the minimum table is untouched by sizing
}

TEST(AutoListCtrl, EmptyHeadingHidesAColumnAndANewOneSizesToTheHeading)
{
    CAutoListCtrl list;
    list.InsertColumn(-1, QStringLiteral("Name"), 0, 100);
    list.InsertColumn(-1, QStringLiteral("Notes"), 0, 100);
    list.InsertColumn(-1, QStringLiteral("Last"), 0, 60);
    showList(list);
    EXPECT_TRUE(list.SetColumnText(1, QString()));
    EXPECT_EQ(list.GetColumnWidth(1), 0);
    EXPECT_EQ(list.GetHeaderWidth(1), 0);
    list.InsertItem(-1, QStringLiteral("row"));
    list.SetItemText(0, 1, QStringLiteral("a note that would need room"));
    EXPECT_EQ(list.GetColumnWidth(1), 0); // stays hidden
    EXPECT_TRUE(list.SetColumnText(1, QStringLiteral("Notes again")));
    const int width = list.GetColumnWidth(1);
    EXPECT_GT(width, list.fontMetrics().horizontalAdvance(QStringLiteral("Notes again")));
    EXPECT_LT(width, 100 + 60); // the heading, not the old width
    EXPECT_TRUE(list.SetColumnText(0, QStringLiteral("N")));
    EXPECT_EQ(list.GetColumnWidth(0), 100); // not below its minimum
}

TEST(AutoListCtrl, ColumnZeroIsWidenedByTheSmallImageWidth)
{
    CAutoListCtrl plain, withImages;
    for (CAutoListCtrl *list : { &plain, &withImages }) {
        list->InsertColumn(-1, QStringLiteral("Name"), 0, 10);
        list->InsertColumn(-1, QStringLiteral("Other"), 0, 10);
    }
    EXPECT_TRUE(withImages.SetImageList({ solid(Qt::red, 20) }).isEmpty());
    EXPECT_EQ(withImages.GetSmallImageWidth(), 20);
    for (CAutoListCtrl *list : { &plain, &withImages }) {
        list->InsertItem(-1, QStringLiteral("Short"), 0);
        list->flushColumnSizing();
    }
    EXPECT_GE(withImages.GetColumnWidth(0), plain.GetColumnWidth(0) + 20);
    const QList<QPixmap> previous = withImages.SetImageList({});
    EXPECT_EQ(previous.size(), 1);
    EXPECT_EQ(withImages.GetSmallImageWidth(), 0);
}

TEST(AutoListCtrl, SignalsForTheViews)
{
    CAutoListCtrl list;
    list.InsertColumn(-1, QStringLiteral("Items"));
    for (int i = 0; i < 5; ++i)
        list.SetItemData(list.InsertItem(-1, QStringLiteral("Item %1").arg(i)), i + 1);
    showList(list);
    QSignalSpy clicked(&list, &CAutoListCtrl::rowClicked);
    QSignalSpy doubled(&list, &CAutoListCtrl::rowDoubleClicked);
    QSignalSpy deleted(&list, &CAutoListCtrl::deleteKeyPressed);
    QSignalSpy menu(&list, &CAutoListCtrl::contextMenuRequested);
    QSignalSpy selected(&list, &CAutoListCtrl::selectedRowChanged);

    const QPoint row2 = list.visualRect(list.model()->index(2, 0)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, row2);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), 2);
    EXPECT_EQ(list.GetCurSel(), 2);
    EXPECT_GE(selected.count(), 1);
    EXPECT_EQ(selected.last().at(0).toInt(), 2);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, row2);
    ASSERT_EQ(doubled.count(), 1);
    EXPECT_EQ(doubled.at(0).at(0).toInt(), 2);

    QTest::keyClick(&list, Qt::Key_Delete);
    EXPECT_EQ(deleted.count(), 1);
    EXPECT_EQ(list.GetItemCount(), 5); // the view decides what Delete does

    const QPoint row3 = list.visualRect(list.model()->index(3, 0)).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, row3, list.viewport()->mapToGlobal(row3));
    QCoreApplication::sendEvent(list.viewport(), &event);
    ASSERT_EQ(menu.count(), 1);
    EXPECT_EQ(menu.at(0).at(0).value<std::optional<QPoint>>(),
              std::optional<QPoint>(list.viewport()->mapToGlobal(row3)));
    // From the keyboard the list gives no position: its owner places the menu.
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(2, 2),
                          list.viewport()->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(list.viewport(), &key);
    ASSERT_EQ(menu.count(), 2);
    EXPECT_FALSE(menu.at(1).at(0).value<std::optional<QPoint>>().has_value());
    EXPECT_EQ(list.HitTest(row3), 3);
    EXPECT_EQ(list.HitTest(QPoint(5, list.viewport()->height() - 2)), -1);
}

TEST(AutoListCtrl, CheckBoxesToggleThroughTheModel)
{
    CAutoListCtrl list;
    list.InsertColumn(-1, QStringLiteral("Tasks"));
    list.InsertItem(-1, QStringLiteral("Mow"));
    list.InsertItem(-1, QStringLiteral("Rake"));
    EXPECT_TRUE(list.SetExtendedStyle(CAutoListCtrl::FullRowSelect | CAutoListCtrl::CheckBoxes));
    showList(list);
    QSignalSpy checks(&list, &CAutoListCtrl::itemCheckChanged);
    // The check indicator sits at the row's left.
    const QRect row1 = list.visualRect(list.model()->index(1, 0));
    QStyleOptionViewItem option;
    option.initFrom(list.viewport());
    option.rect = row1;
    option.features = QStyleOptionViewItem::HasCheckIndicator;
    const QRect box =
        list.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &list);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, box.center());
    ASSERT_EQ(checks.count(), 1);
    EXPECT_EQ(checks.at(0).at(0).toInt(), 1);
    EXPECT_TRUE(list.GetCheck(1));
    EXPECT_FALSE(list.GetCheck(0));
    list.SetCheck(0, true);
    EXPECT_EQ(checks.count(), 2);
}

TEST(AutoListCtrl, EnsureVisibleAndSetCurSelOnALongList)
{
    CAutoListCtrl list;
    list.InsertColumn(-1, QStringLiteral("Items"));
    list.SetRedraw(false);
    for (int i = 0; i < 20000; ++i)
        list.SetItemData(list.InsertItem(-1, QStringLiteral("Item %1").arg(i, 5, 10, QChar('0'))),
                         i + 1);
    list.SetCurSel(15000);
    list.EnsureVisible(15000);
    list.SetRedraw(true);
    showList(list);
    EXPECT_EQ(list.GetCurSel(), 15000);
    EXPECT_TRUE(list.viewport()->rect().intersects(list.visualRect(list.model()->index(15000, 0))));
    EXPECT_EQ(list.GetItemData(15000), 15001);
    EXPECT_EQ(list.GetColumnWidth(0), list.viewport()->width());

    // Sorting keeps the selected record selected.
    list.SortOnColumn(0);
    list.SortOnColumn(0);
    EXPECT_EQ(list.GetItemData(list.GetCurSel()), 15001);
    EXPECT_EQ(list.GetItemText(0, 0), QStringLiteral("Item 19999"));
}

TEST(AutoListCtrl, DeleteAllThenDestroy)
{
    auto *list = new CAutoListCtrl;
    list->InsertColumn(-1, QStringLiteral("A"));
    for (int i = 0; i < 10; ++i)
        list->InsertItem(-1, QStringLiteral("row"));
    list->SetCurSel(3);
    EXPECT_TRUE(list->DeleteAllItems());
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_EQ(list->GetItemCount(), 0);
    delete list; // the sanitizer build checks that nothing is freed twice or leaked
}

TEST(AutoListCtrl, ListModeFlowsDownThenIntoColumnsOfTheGivenWidth)
{
    CAutoListCtrl list;
    list.InsertColumn(-1, QStringLiteral("Items"));
    list.SetExtendedStyle(CAutoListCtrl::CheckBoxes);
    for (int i = 0; i < 60; ++i)
        list.SetItemData(list.InsertItem(-1, QStringLiteral("Item %1").arg(i)), i + 1);
    showList(list, 500, 200);
    list.SetListMode(true, 150);
    QCoreApplication::processEvents();
    QListView *view = list.listModeView();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisible());
    const QRect first = view->visualRect(list.model()->index(0, 0));
    const QRect second = view->visualRect(list.model()->index(1, 0));
    EXPECT_EQ(second.left(), first.left());
    EXPECT_GT(second.top(), first.top());
    int nextColumn = -1;
    for (int r = 1; r < 60 && nextColumn < 0; ++r) {
        if (view->visualRect(list.model()->index(r, 0)).left() != first.left())
            nextColumn = r;
    }
    ASSERT_GT(nextColumn, 1);
    EXPECT_EQ(view->visualRect(list.model()->index(nextColumn, 0)).left() - first.left(), 150);

    QSignalSpy clicked(&list, &CAutoListCtrl::rowClicked);
    QSignalSpy deleted(&list, &CAutoListCtrl::deleteKeyPressed);
    const QPoint row2 = view->visualRect(list.model()->index(2, 0)).center() + QPoint(20, 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row2);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), 2);
    EXPECT_EQ(list.GetCurSel(), 2); // one selection for both views
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(deleted.count(), 1);

    list.SetListMode(false);
    EXPECT_FALSE(view->isVisible());
    EXPECT_FALSE(list.IsListMode());
    EXPECT_EQ(list.GetCurSel(), 2);
}

TEST(AutoListCtrl, WidthsStayWithTheirColumnsWhenABatchInsertsOrDeletesOne)
{
    CAutoListCtrl list;
    list.InsertColumn(-1, QStringLiteral("No."), 0, 40);
    list.InsertColumn(-1, QStringLiteral("Principal"), 0, 90);
    list.InsertColumn(-1, QStringLiteral("Balance"), 0, 95);
    showList(list, 120);
    list.SetColumnWidth(2, 111);
    list.SetRedraw(false);
    list.DeleteAllItems();
    EXPECT_EQ(list.InsertColumn(1, QStringLiteral("Date"), 0, 80), 1);
    list.SetRedraw(true);
    EXPECT_EQ(list.GetColumnWidth(0), 40);
    EXPECT_EQ(list.GetColumnWidth(1), 80);
    EXPECT_EQ(list.GetColumnWidth(2), 90);
    EXPECT_EQ(list.GetColumnWidth(3), 111);
    list.SetRedraw(false);
    EXPECT_TRUE(list.DeleteColumn(1));
    list.SetRedraw(true);
    EXPECT_EQ(list.GetColumnCount(), 3);
    EXPECT_EQ(list.GetColumnWidth(1), 90);
    EXPECT_EQ(list.GetColumnWidth(2), 111);
}

TEST(AutoListCtrl, PaintingInTheMiddleOfABatchIsSafe)
{
    CAutoListCtrl list;
    list.InsertColumn(-1, QStringLiteral("Items"));
    for (int i = 0; i < 200; ++i)
        list.InsertItem(-1, QStringLiteral("Item %1").arg(i));
    showList(list);
    list.SetCurSel(150);
    list.EnsureVisible(150);
    {
        CListModel::BatchUpdate batch(*list.model());
        list.DeleteAllItems();
        list.InsertItem(-1, QStringLiteral("Only row"));
        // An event loop turn inside a fill (a progress message, say) paints the list while it
        // still remembers 200 rows.
        list.viewport()->repaint();
        QCoreApplication::processEvents();
        EXPECT_EQ(list.GetCurSel(), -1);
    }
    list.viewport()->repaint();
    EXPECT_EQ(list.GetItemCount(), 1);
    EXPECT_EQ(list.GetItemText(0, 0), QStringLiteral("Only row"));
    EXPECT_EQ(list.GetCurSel(), -1);
}
