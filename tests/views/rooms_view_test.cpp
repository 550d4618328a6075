#include "controls/auto_list_ctrl.h"
#include "db/ado_recordset.h"
#include "format/display_text.h"
#include "records/area.h"
#include "records/home.h"
#include "support/fake_view_host.h"
#include "support/scripted_ui.h"
#include "views/rooms_view.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class LocationsView : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        CHome home;
        home.m_strDescription = QStringLiteral("Cottage");
        ASSERT_TRUE(home.Save(host.db));
        homeId = home.id();
        view = new CRoomsView(host, &host.window);
        view->resize(400, 300);
    }
    void TearDown() override { resetUserLocale(); }

    qint32 addArea(const QString &name, qint32 length = 0, qint32 width = 0,
                   const QString &notes = QString(), qint32 home = 0)
    {
        CArea area;
        area.m_nHomeId = home ? home : homeId;
        area.m_strDescription = name;
        area.m_nLength = length;
        area.m_nWidth = width;
        area.m_strNotes = notes;
        EXPECT_TRUE(area.Save(host.db));
        return area.id();
    }
    QStringList rows() const
    {
        QStringList texts;
        for (int row = 0; row < view->list()->GetItemCount(); ++row)
            texts << view->list()->GetItemText(row, 0);
        return texts;
    }
    qint32 number(const QString &sql)
    {
        CADORecordset rs(host.db);
        EXPECT_TRUE(rs.Open(sql));
        qint32 n = -1;
        rs.GetLong(0, n);
        return n;
    }
    void showView()
    {
        host.window.show();
        view->show();
        QApplication::processEvents();
    }
    QString box() const { return view->descriptionBox()->toPlainText(); }

    ScriptedUi ui;
    FakeViewHost host;
    qint32 homeId = 0;
    CRoomsView *view = nullptr;
};

TEST_F(LocationsView, AHiddenViewReadsItsLocationsWhenFirstShown)
{
    addArea(QStringLiteral("kitchen"), 150, 120, QStringLiteral("Tiled floor"));
    const qint32 den = addArea(QStringLiteral("Den"));
    addArea(QStringLiteral("Attic"));
    addArea(QStringLiteral("Elsewhere"), 0, 0, QString(), homeId + 100);
    ASSERT_TRUE(host.SetCurrentHome(homeId));

    view->hide();
    view->Refresh(den);
    EXPECT_EQ(view->list()->GetItemCount(), 0);

    showView();
    EXPECT_EQ(rows(), (QStringList { "Attic", "Den", "kitchen" }));
    EXPECT_EQ(view->list()->GetCurSel(), 1);
    EXPECT_EQ(view->shownId(), den);
    EXPECT_EQ(box(), QString());

    view->list()->SetCurSel(2);
    EXPECT_EQ(box(), QStringLiteral("Dimensions: 12'6\" x 10'\nArea: 125.00 sq. ft.\nTiled floor"));
    view->list()->SetCurSel(-1);
    EXPECT_EQ(box(), QString());
    EXPECT_EQ(view->shownId(), 0);
    EXPECT_FALSE(view->HasSelection());

    // A home without locations: an empty list and an empty box.
    CHome other;
    other.m_strDescription = QStringLiteral("Flat");
    ASSERT_TRUE(other.Save(host.db));
    ASSERT_TRUE(host.SetCurrentHome(other.id()));
    view->Refresh(0);
    EXPECT_EQ(view->list()->GetItemCount(), 0);
    EXPECT_EQ(box(), QString());
}

TEST_F(LocationsView, TheDeleteKeyRemovesAtOnceAndKeepsTheAssets)
{
    const qint32 garage = addArea(QStringLiteral("Garage"));
    addArea(QStringLiteral("Study"));
    for (int asset = 1; asset <= 3; ++asset)
        ASSERT_TRUE(host.db.Execute(
            QStringLiteral("INSERT INTO Assets (AssetId, HomeId, AreaId) VALUES (%1, %2, %3);")
                .arg(asset)
                .arg(homeId)
                .arg(garage)));
    ASSERT_TRUE(host.SetCurrentHome(homeId));
    showView();
    view->Refresh(garage);
    view->list()->setFocus();
    QTest::keyClick(view->list(), Qt::Key_Delete);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(rows(), (QStringList { "Study" }));
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Areas WHERE AreaId=%1;").arg(garage)), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Assets WHERE AreaId=0;")), 3);

    // Nothing selected: the key does nothing.
    view->list()->SetCurSel(-1);
    QTest::keyClick(view->list(), Qt::Key_Delete);
    EXPECT_EQ(rows(), (QStringList { "Study" }));
}

TEST_F(LocationsView, EditingKeepsTheLocationSelectedWhereverItSorts)
{
    addArea(QStringLiteral("Attic"));
    const qint32 bath = addArea(QStringLiteral("Bathroom #2"));
    addArea(QStringLiteral("Den"));
    ASSERT_TRUE(host.SetCurrentHome(homeId));
    showView();
    view->Refresh(bath);

    // Cancelled: nothing changes.
    ui.onNextDialog([](QDialog &sheet) { Fill::click(sheet, "cancel"); });
    QTest::keyClick(view->list(), Qt::Key_Space);
    EXPECT_EQ(ui.dialogTitles(), QStringList { QStringLiteral("Location Properties") });
    EXPECT_EQ(rows(), (QStringList { "Attic", "Bathroom #2", "Den" }));

    ui.onNextDialog([](QDialog &sheet) {
        EXPECT_EQ(Fill::textOf(sheet, "description"), QStringLiteral("Bathroom #2"));
        Fill::text(sheet, "description", QStringLiteral("Zen room"));
        Fill::text(sheet, "lengthFeet", QStringLiteral("10"));
        Fill::text(sheet, "widthFeet", QStringLiteral("12"));
        Fill::click(sheet, "ok");
    });
    const QRect cell = view->list()->visualRect(view->list()->model()->index(1, 0));
    QTest::mouseClick(view->list()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(view->list()->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(rows(), (QStringList { "Attic", "Den", "Zen room" }));
    EXPECT_EQ(view->list()->GetCurSel(), 2);
    EXPECT_EQ(box(), QStringLiteral("Dimensions: 10' x 12'\nArea: 120.00 sq. ft.\n"));
}

TEST_F(LocationsView, PopupNewAddsALocationOfTheCurrentHomeAndSelectsIt)
{
    addArea(QStringLiteral("Attic"));
    ASSERT_TRUE(host.SetCurrentHome(homeId));
    showView();
    view->Refresh(0);

    ui.onNextDialog([](QDialog &sheet) {
        EXPECT_EQ(Fill::textOf(sheet, "description"), QStringLiteral("New Location"));
        Fill::click(sheet, "ok");
    });
    view->OnContextNew();
    EXPECT_EQ(rows(), (QStringList { "Attic", "New Location" }));
    EXPECT_EQ(view->list()->GetCurSel(), 1);
    EXPECT_TRUE(host.calls.contains(QStringLiteral("ShowView 2")));
    EXPECT_EQ(number(QStringLiteral("SELECT HomeId FROM Areas WHERE Description='New Location';")),
              homeId);

    // Cancelled, nothing is stored and no view is switched to.
    host.calls.clear();
    view->OnContextNew();
    EXPECT_EQ(rows().size(), 2);
    EXPECT_TRUE(host.calls.isEmpty());

    // The list's context menu is the frame's shared popup.
    QContextMenuEvent fromKeyboard(QContextMenuEvent::Keyboard, QPoint(4, 4),
                                   view->list()->viewport()->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(view->list()->viewport(), &fromKeyboard);
    EXPECT_TRUE(host.calls.contains(QStringLiteral("ShowContextMenu")));
}

} // namespace
