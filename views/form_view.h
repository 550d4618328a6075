#pragma once
// CFormView: what the five views share. Each fills the frame's client area, paints the shared
// background, and answers the shared New / Delete / Properties popup for its own records.

#include "views/view_host.h"

#include <QWidget>

#include <functional>

class CLabel;

class CFormView : public QWidget
{
    Q_OBJECT
public:
    explicit CFormView(ViewHost &host, QWidget *parent = nullptr);

    ViewHost &host() const { return m_host; }

    // Places the controls for the current size; runs on every resize.
    virtual void Layout() { }

    // The shared popup's commands, for the visible view. Delete and Properties are offered only
    // while HasSelection().
    virtual void OnContextNew() { }
    virtual void OnContextDelete() { }
    virtual void OnContextProperties() { }
    virtual bool HasSelection() const { return false; }
    // Whether Delete is offered for the selection; a view that deletes nothing says no.
    virtual bool CanDelete() const { return HasSelection(); }

    // The list shows what was last asked for: a fill has run and none is waiting. Until then
    // the view's own figures (a total, a count) are not to be read.
    bool isFilled() const { return m_filled && !m_pendingFill; }

protected:
    // Runs fill now while the view is on screen; otherwise keeps it (only the latest) for the
    // moment the view is next shown. Hidden views then cost nothing at start-up or on a home
    // switch, however much they would list.
    void fillWhenShown(std::function<void()> fill);
    // A fill is waiting for the view to be shown.
    bool fillPending() const { return bool(m_pendingFill); }

    // A title label in the title style, on the view's background.
    CLabel *makeTitle(const QString &text);
    // The corner icon of the list views: hung off the top-left corner so that only its
    // lower-right quarter shows; a click (or Space on it) opens the view's menu. placeCorner
    // puts it there again after a layout.
    CLabel *makeCornerIcon(const QString &objectName, const QString &accessibleName,
                           const QString &toolTip);
    static void placeCorner(CLabel &corner);
    // Where a title beside the corner icon starts, clear of its visible quarter.
    static constexpr int kBesideCorner = 20;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    static constexpr int kCornerOffset = -18;
    static constexpr int kCornerSize = 32;

    ViewHost &m_host;
    std::function<void()> m_pendingFill;
    bool m_filled = false;
};
