// The Sync Direction dialog and the progress window as a person sees them.
#include "exchange/sync_dialogs.h"
#include "support/screenshots.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void saveShot(QWidget &widget, const QString &name)
{
    Screenshots::save(widget, name);
}

// Every text is shown whole: no label is narrower or shorter than its text needs.
void expectLabelsFit(QWidget &root)
{
    for (QLabel *label : root.findChildren<QLabel *>()) {
        if (label->text().isEmpty() || label->wordWrap())
            continue;
        const QSize needed = label->fontMetrics().size(0, label->text());
        EXPECT_GE(label->width(), needed.width()) << label->text().toStdString();
        EXPECT_GE(label->height(), needed.height()) << label->text().toStdString();
    }
}

TEST(SyncDirectionDialog, OpensOnDesktopToDeviceAndReturnsTheChoice)
{
    int advised = 0;
    CSyncDirectionDialog dialog(nullptr, [&] { ++advised; });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto *toDevice = dialog.findChild<QRadioButton *>(QStringLiteral("toDevice"));
    auto *toDesktop = dialog.findChild<QRadioButton *>(QStringLiteral("toDesktop"));
    auto *sync = dialog.findChild<QPushButton *>(QStringLiteral("sync"));
    ASSERT_TRUE(toDevice && toDesktop && sync);
    EXPECT_TRUE(toDevice->isChecked());
    EXPECT_TRUE(sync->isDefault());
    EXPECT_EQ(sync->text(), QStringLiteral("&Sync"));
    EXPECT_EQ(toDevice->accessibleName(), QStringLiteral("Desktop data replaces device data"));
    EXPECT_EQ(toDesktop->accessibleName(), QStringLiteral("Device data replaces desktop data"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Sync Direction"));

    // The advice comes once, after the first paint, not before the dialog is seen.
    QTest::qWait(50);
    EXPECT_EQ(advised, 1);
    dialog.update();
    QTest::qWait(50);
    EXPECT_EQ(advised, 1);
    expectLabelsFit(dialog);
    saveShot(dialog, QStringLiteral("sync_direction"));

    // Clicking a choice's text picks it; the keyboard moves between the choices.
    auto *label = dialog.findChild<QLabel *>(QStringLiteral("toDesktopLabel"));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->buddy(), toDesktop);
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_TRUE(toDesktop->isChecked());
    dialog.accept();
    EXPECT_EQ(dialog.direction(), Sync::Direction::DeviceToDesktop);

    CSyncDirectionDialog other(nullptr);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    QTest::keyClick(&other, Qt::Key_Return);
    EXPECT_EQ(other.result(), QDialog::Accepted);
    EXPECT_EQ(other.direction(), Sync::Direction::DesktopToDevice);
}

TEST(SyncProgressWindow, IsPaintedAtOnceAndCannotBeClosedByTheUser)
{
    CSyncProgressWindow progress(nullptr);
    progress.showNow();
    EXPECT_TRUE(progress.isVisible());
    EXPECT_FALSE(progress.isModal());
    EXPECT_EQ(progress.windowTitle(), QStringLiteral("Synchronizing Domelio Data..."));
    EXPECT_TRUE(progress.findChildren<QPushButton *>().isEmpty());
    expectLabelsFit(progress);
    saveShot(progress, QStringLiteral("sync_progress"));

    QTest::keyClick(&progress, Qt::Key_Escape);
    EXPECT_TRUE(progress.isVisible());
    EXPECT_FALSE(progress.close());
    EXPECT_TRUE(progress.isVisible());
}

} // namespace
