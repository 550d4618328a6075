#pragma once
// Core code marks long work with Busy::Scope; the user-interface layer installs the hooks that
// turn it into a wait cursor and, for work that names itself, a progress window. Without hooks
// (tests, tools) a scope does nothing and work is never cancelled.
//
//     Busy::Scope busy(QStringLiteral("Exporting the inventory..."), Busy::Cancel::Allowed);
//     for (each row) {
//         if (!Busy::step(done, total))   // false once the user cancelled
//             -> stop, leaving nothing half done behind
//         ...
//     }
//
// Everything stays on the one thread: the window is shown and repainted from inside step() and
// tick(), which the work calls often (a row, a page, a few thousand engine instructions). They
// cost a clock reading when nothing is due.

#include <QString>
#include <QtGlobal>

namespace Busy {

using Hook = void (*)(bool busy);
// The wait cursor, for every scope.
void setHook(Hook hook);

enum class Cancel { NotAllowed, Allowed };

// What the progress window shows of the work under way.
struct Work
{
    QString label;
    bool cancellable = false;
    qint64 done = 0;
    qint64 total = 0; // 0: unknown, a busy indicator rather than a bar
};

// The progress window, for scopes with a label.
class Window
{
public:
    virtual ~Window() = default;
    // The work has lasted long enough to be shown.
    virtual void show(const Work &work) = 0;
    // Repaints the window with the latest figures and lets the events through that must get
    // through (only its Cancel button's, when the work may be cancelled). True when the user
    // asked to cancel.
    virtual bool update(const Work &work) = 0;
    virtual void hide() = 0;
};
// Installs the window (not owned); nullptr removes it.
void setWindow(Window *window);

// How long labelled work runs before its window appears (half a second), and how often the
// window is refreshed after that (ten times a second). Tests shorten them.
void setTiming(int showAfterMs, int refreshEveryMs);

class Scope
{
public:
    // A wait cursor only.
    Scope();
    // A wait cursor, and a progress window once the work has lasted a while. A scope inside
    // another labelled one shows its own label and figures while it lasts.
    explicit Scope(const QString &label, Cancel cancel = Cancel::NotAllowed);
    ~Scope();
    Scope(const Scope &) = delete;
    Scope &operator=(const Scope &) = delete;

    // Whether the user asked this work to stop; only ever for work that allows it.
    bool cancelled() const { return m_cancelled; }

private:
    friend class Tracker;

    Work m_work;
    Scope *m_outer = nullptr;
    bool m_labelled = false;
    bool m_cancelled = false;
};

// How far the innermost labelled scope has got. False once the user cancelled it: the work
// then stops as soon as it safely can. Without a labelled scope, true and nothing else.
bool step(qint64 done, qint64 total);
// The work goes on, how far is not known.
bool tick();
// Whether the innermost labelled scope was cancelled, without refreshing anything.
bool cancelled();
// Whether labelled work is under way. Its progress window lets some events through (a Cancel,
// repaints, queued calls); a command that arrives that way must not start on the data the work
// is using.
bool underWay();

} // namespace Busy
