#include "app/window_geometry.h"
#include "platform/settings_key.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

QRect available()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

WindowPlacement placed(const QRect &rect, quint32 showState, quint32 flags = 0)
{
    WindowPlacement p;
    p.showState = showState;
    p.flags = flags;
    p.normal = { rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height() };
    return p;
}

TEST(WindowGeometry, NormalAndMaximisedWindowsComeBackAsTheyWere)
{
    const QRect rect(available().topLeft() + QPoint(40, 30), QSize(320, 200));
    const struct
    {
        quint32 showState;
        quint32 flags;
        bool maximised;
        quint32 savedState;
    } cases[] = {
        { WindowPlacement::ShowNormal, 0, false, WindowPlacement::ShowNormal },
        { WindowPlacement::ShowMaximized, 0, true, WindowPlacement::ShowMaximized },
        { WindowPlacement::ShowMinimized, 0, false, WindowPlacement::ShowNormal },
        { WindowPlacement::ShowMinimized, WindowPlacement::RestoreToMaximized, true,
          WindowPlacement::ShowMaximized },
        { 0, 0, false, WindowPlacement::ShowNormal }, // hidden: comes back visible and normal
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::Message() << c.showState << "/" << c.flags);
        QWidget window;
        applyPlacement(window, placed(rect, c.showState, c.flags));
        window.show();
        EXPECT_EQ(window.isMaximized(), c.maximised);
        EXPECT_FALSE(window.isMinimized());
        const WindowPlacement saved = placementOf(window);
        EXPECT_EQ(saved.showState, c.savedState);
        EXPECT_EQ(saved.normal, placed(rect, 0).normal);
    }
}

TEST(WindowGeometry, AWindowIsNeverPlacedOffTheScreens)
{
    const QRect area = available();
    const QList<QRect> rects = { QRect(area.right() + 5000, area.bottom() + 5000, 300, 200),
                                 QRect(-100000, -100000, 300, 200),
                                 QRect(area.left() - 150, area.top() + 10, 300, 200),
                                 QRect(area.topLeft(), area.size() * 3) };
    for (const QRect &rect : rects) {
        SCOPED_TRACE(::testing::Message() << rect.x() << "," << rect.y());
        QWidget window;
        applyPlacement(window, placed(rect, WindowPlacement::ShowNormal));
        EXPECT_TRUE(area.contains(window.geometry())) << window.geometry().x();
        EXPECT_EQ(window.width(), qMin(rect.width(), area.width()));
    }
}

TEST(WindowGeometry, AnEmptyRectangleCentresTheWindow)
{
    WindowPlacement p;
    p.normal = { 500, 400, 500, 100 }; // zero width, negative height
    QWidget window;
    window.resize(200, 100);
    applyPlacement(window, p);
    EXPECT_EQ(window.size(), QSize(200, 100));
    EXPECT_LE((window.frameGeometry().center() - available().center()).manhattanLength(), 2);
}

TEST(WindowGeometry, PlacementSurvivesTheSettingsStore)
{
    QTemporaryDir dir;
    CSettingsKey key(HKEY_CURRENT_USER, dir.path() + QStringLiteral("/HKCU.reg"));
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, QStringLiteral("Software\\Varn Holt\\Domelio")));
    QWidget first;
    first.setGeometry(QRect(available().topLeft() + QPoint(10, 20), QSize(300, 250)));
    first.showMaximized();
    ASSERT_TRUE(key.WriteWindowPlacement(QStringLiteral("WindowPlacement"), placementOf(first)));

    WindowPlacement read;
    ASSERT_TRUE(key.ReadWindowPlacement(QStringLiteral("WindowPlacement"), read));
    QWidget second;
    applyPlacement(second, read);
    second.show();
    EXPECT_TRUE(second.isMaximized());
    EXPECT_EQ(second.normalGeometry(), first.normalGeometry());
}

} // namespace
