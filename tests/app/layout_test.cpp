// Nothing clipped, nothing overlapping: the main window in its views and the Home Profile.
// With DOMELIO_SCREENSHOTS=<folder> the windows are also saved there as PNG files to look at.
#include "app/command_ids.h"
#include "controls/auto_list_ctrl.h"
#include "controls/label.h"
#include "frame_fixture.h"
#include "views/home_mgr_view.h"
#include "views/today_view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

void saveShot(QWidget &widget, const char *name)
{
    const QString folder = qEnvironmentVariable("DOMELIO_SCREENSHOTS");
    if (!folder.isEmpty())
        widget.grab().save(folder + QLatin1Char('/') + QLatin1String(name)
                           + QStringLiteral(".png"));
}

// Every visible label, button and edit below root lies inside its parent, is not smaller than
// its text needs, and does not overlap a sibling.
void expectTidy(QWidget &root)
{
    QList<QWidget *> controls;
    for (QWidget *w : root.findChildren<QWidget *>()) {
        if (w->isVisibleTo(&root)
            && (qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w)
                || qobject_cast<QLineEdit *>(w) || qobject_cast<QPlainTextEdit *>(w)))
            controls << w;
    }
    ASSERT_FALSE(controls.isEmpty());
    for (QWidget *w : controls) {
        const QString name = w->objectName() + QLatin1Char(' ') + w->metaObject()->className();
        EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry())) << name.toStdString();
        if (qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w)) {
            EXPECT_GE(w->width(), w->minimumSizeHint().width()) << name.toStdString();
            EXPECT_GE(w->height(), w->minimumSizeHint().height()) << name.toStdString();
        }
        for (QWidget *other : controls) {
            if (other == w || other->parentWidget() != w->parentWidget())
                continue;
            EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                << name.toStdString() << " / " << other->objectName().toStdString();
        }
    }
}

TEST(Layout, MainWindowAndHomeProfileFitTheirContents)
{
    ProgramRun run;
    run.seedHomes({ { 1, QStringLiteral("Summer cottage") }, { 2, QStringLiteral("Town flat") } });
    run.writeSetting(QStringLiteral("LastHomeId"), 0);
    CMainFrame &frame = run.start();
    frame.resize(640, 520);
    frame.show();
    QApplication::processEvents();

    CHomeMgrView *homes = frame.homesView();
    expectTidy(*homes);
    EXPECT_LE(homes->findChild<CLabel *>("prompt")->geometry().bottom(), 23);
    EXPECT_EQ(homes->list()->geometry().top(), 25);
    EXPECT_EQ(homes->list()->geometry().bottom(), homes->height() - 1);
    EXPECT_EQ(homes->list()->width(), homes->width());
    saveShot(frame, "frame_homes");

    // A picture for the profile's preview.
    const QString picture = run.env.root() + QStringLiteral("/cottage.png");
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(QColor(120, 170, 90));
    ASSERT_TRUE(image.save(picture));
    CHome home(1);
    ASSERT_TRUE(home.Load(run.app->database()));
    home.m_strPicture = picture;
    ASSERT_TRUE(home.Save(run.app->database()));

    ASSERT_TRUE(frame.SetCurrentHome(1));
    QApplication::processEvents();
    expectTidy(*frame.todayView());
    saveShot(frame, "frame_today");

    run.ui.onNextDialog([](QDialog &sheet) {
        sheet.adjustSize();
        QApplication::processEvents();
        expectTidy(sheet);
        saveShot(sheet, "home_profile_details");
        auto *tabs = sheet.findChild<QTabWidget *>("pages");
        for (int page = 1; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            QApplication::processEvents();
            expectTidy(*tabs->currentWidget());
            saveShot(sheet, page == 1 ? "home_profile_picture" : "home_profile_notes");
        }
    });
    frame.todayView()->EditHome(0);
    EXPECT_EQ(run.ui.dialogTitles().size(), 1);
}

} // namespace
