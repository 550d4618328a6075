#include "platform/busy.h"

#include <QElapsedTimer>

#include <utility>

namespace Busy {
namespace {

Hook currentHook = nullptr;
Window *currentWindow = nullptr;
int showAfter = 500;
int refreshEvery = 100;

} // namespace

// The labelled scopes under way, innermost first, and the window that shows them.
class Tracker
{
public:
    static void begin(Scope &scope)
    {
        scope.m_outer = innermost;
        innermost = &scope;
        if (!scope.m_outer) {
            clock.start();
            shownOn = nullptr;
        }
    }

    static void end(Scope &scope)
    {
        // Scopes end in the reverse order of their start.
        innermost = scope.m_outer;
        if (innermost || !shownOn)
            return;
        Window *window = std::exchange(shownOn, nullptr);
        if (window == currentWindow)
            window->hide();
    }

    static Scope *current() { return innermost; }

    static bool step(qint64 done, qint64 total)
    {
        if (Scope *scope = innermost) {
            scope->m_work.done = done;
            scope->m_work.total = total;
        }
        return poll();
    }

    static bool poll()
    {
        Scope *scope = innermost;
        if (!scope)
            return true;
        // Events let through by the window may start more work; that work reports to nobody
        // until the window is done.
        if (!currentWindow || inWindow)
            return !scope->m_cancelled;
        const qint64 elapsed = clock.elapsed();
        if (shownOn != currentWindow) {
            if (elapsed < showAfter)
                return !scope->m_cancelled;
            shownOn = currentWindow;
            lastRefresh = elapsed;
            inWindow = true;
            shownOn->show(scope->m_work);
            inWindow = false;
        } else if (elapsed - lastRefresh < refreshEvery) {
            return !scope->m_cancelled;
        }
        lastRefresh = elapsed;
        inWindow = true;
        const bool asked = shownOn->update(scope->m_work);
        inWindow = false;
        if (asked && scope->m_work.cancellable)
            scope->m_cancelled = true;
        return !scope->m_cancelled;
    }

    static void forget(Window *window)
    {
        if (shownOn == window)
            shownOn = nullptr;
    }

private:
    static inline Scope *innermost = nullptr;
    static inline Window *shownOn = nullptr;
    static inline QElapsedTimer clock;
    static inline qint64 lastRefresh = 0;
    static inline bool inWindow = false;
};

void setHook(Hook hook)
{
    currentHook = hook;
}

void setWindow(Window *window)
{
    if (currentWindow)
        Tracker::forget(currentWindow);
    currentWindow = window;
}

void setTiming(int showAfterMs, int refreshEveryMs)
{
    showAfter = showAfterMs;
    refreshEvery = refreshEveryMs;
}

Scope::Scope()
{
    if (currentHook)
        currentHook(true);
}

Scope::Scope(const QString &label, Cancel cancel)
    : m_work { label, cancel == Cancel::Allowed, 0, 0 }
    , m_labelled(true)
{
    if (currentHook)
        currentHook(true);
    Tracker::begin(*this);
}

Scope::~Scope()
{
    if (m_labelled)
        Tracker::end(*this);
    if (currentHook)
        currentHook(false);
}

bool step(qint64 done, qint64 total)
{
    return Tracker::step(done, total);
}

bool tick()
{
    return Tracker::poll();
}

bool cancelled()
{
    const Scope *scope = Tracker::current();
    return scope && scope->cancelled();
}

bool underWay()
{
    return Tracker::current() != nullptr;
}

} // namespace Busy
