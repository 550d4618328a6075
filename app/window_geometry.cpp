#include "app/window_geometry.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace {

QRect toRect(const WindowPlacement::Rect &rect)
{
    return QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
}

WindowPlacement::Rect fromRect(const QRect &rect)
{
    return { rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height() };
}

QScreen *screenFor(const QRect &rect)
{
    QScreen *best = nullptr;
    qint64 bestArea = 0;
    for (QScreen *screen : QGuiApplication::screens()) {
        const QRect overlap = screen->availableGeometry().intersected(rect);
        const qint64 area = qint64(overlap.width()) * overlap.height();
        if (!overlap.isEmpty() && area > bestArea) {
            best = screen;
            bestArea = area;
        }
    }
    return best ? best : QGuiApplication::primaryScreen();
}

QRect clampedTo(QRect rect, const QRect &area)
{
    rect.setWidth(qMin(rect.width(), area.width()));
    rect.setHeight(qMin(rect.height(), area.height()));
    rect.moveLeft(qBound(area.left(), rect.left(), area.right() - rect.width() + 1));
    rect.moveTop(qBound(area.top(), rect.top(), area.bottom() - rect.height() + 1));
    return rect;
}

} // namespace

WindowPlacement placementOf(const QWidget &window)
{
    WindowPlacement placement;
    QRect normal = window.normalGeometry();
    if (normal.isEmpty())
        normal = window.geometry(); // never shown yet: Qt keeps no separate normal geometry
    placement.normal = fromRect(normal);

    const Qt::WindowStates state = window.windowState();
    if (state & Qt::WindowMinimized) {
        placement.showState = WindowPlacement::ShowMinimized;
        if (state & Qt::WindowMaximized)
            placement.flags |= WindowPlacement::RestoreToMaximized;
    } else if (state & Qt::WindowMaximized) {
        placement.showState = WindowPlacement::ShowMaximized;
    }
    return placement;
}

void applyPlacement(QWidget &window, const WindowPlacement &placement)
{
    const qint64 width = qint64(placement.normal.right) - placement.normal.left;
    const qint64 height = qint64(placement.normal.bottom) - placement.normal.top;
    window.setWindowState(window.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    if (width <= 0 || height <= 0 || width > 0x7fffffff || height > 0x7fffffff) {
        centreOnScreen(window);
    } else {
        const QRect wanted = toRect(placement.normal);
        QScreen *screen = screenFor(wanted);
        window.setGeometry(screen ? clampedTo(wanted, screen->availableGeometry()) : wanted);
    }

    const bool maximised = placement.showState == WindowPlacement::ShowMaximized
        || (placement.showState == WindowPlacement::ShowMinimized
            && (placement.flags & WindowPlacement::RestoreToMaximized));
    if (maximised)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void centreOnScreen(QWidget &window)
{
    QScreen *screen = window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect frame = window.frameGeometry();
    frame.moveCenter(area.center());
    // A window larger than the screen keeps its title bar reachable.
    frame.moveLeft(qMax(frame.left(), area.left()));
    frame.moveTop(qMax(frame.top(), area.top()));
    window.move(frame.topLeft());
}
