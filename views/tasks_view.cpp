#include "views/tasks_view.h"

#include "controls/auto_list_ctrl.h"
#include "controls/label.h"
#include "platform/settings_key.h"
#include "records/maintenance.h"
#include "records/task.h"
#include "sheets/task_sheet.h"
#include "widgets/shared_look.h"

#include <QAction>
#include <QActionGroup>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <cstdlib>

namespace {

const QString kFilterSetting = QStringLiteral("TasksFilter");

// The line under the title, and where the list starts below it.
constexpr int kRuleY = 23;
constexpr int kListTop = 24;

// The rows' small images: a general task (a ticked note), a shopping item (a basket) and a
// shopping item with a coupon (the basket with a price tag).
QPixmap taskIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(QColor(255, 250, 205));
    p.drawRect(QRectF(2.5, 1.5, 11, 13));
    p.setPen(QPen(QColor(30, 130, 60), 2));
    p.drawPolyline(QPolygonF({ QPointF(4.5, 8), QPointF(7, 11), QPointF(11.5, 4.5) }));
    return pixmap;
}

QPixmap basketIcon(bool coupon)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(80, 60, 30), 1));
    p.setBrush(QColor(205, 150, 80));
    QPainterPath basket;
    basket.moveTo(1.5, 6.5);
    basket.lineTo(14.5, 6.5);
    basket.lineTo(12.5, 14.5);
    basket.lineTo(3.5, 14.5);
    basket.closeSubpath();
    p.drawPath(basket);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4.5, 1.5, 7, 10), 0, 180 * 16);
    if (coupon) {
        p.setPen(QPen(QColor(150, 20, 20), 1));
        p.setBrush(QColor(230, 50, 50));
        p.drawEllipse(QRectF(9, 0.5, 6.5, 6.5));
    }
    return pixmap;
}

} // namespace

CTasksView::CTasksView(ViewHost &host, QWidget *parent)
    : CFormView(host, parent)
{
    m_title = makeTitle(QStringLiteral("Tasks (All)"));
    m_title->setToolTip(QStringLiteral("Click for the View menu"));
    connect(m_title, &CLabel::clicked, this, &CTasksView::ShowViewMenu);

    m_corner = makeCornerIcon(QStringLiteral("viewMenuButton"), QStringLiteral("View menu"),
                              QStringLiteral("View menu"));
    connect(m_corner, &CLabel::clicked, this, &CTasksView::ShowViewMenu);

    m_list = new CAutoListCtrl(
        this, CAutoListCtrl::OwnerDraw | CAutoListCtrl::NoHeader | CAutoListCtrl::SingleSelection);
    m_list->setObjectName(QStringLiteral("tasks"));
    m_list->setAccessibleName(QStringLiteral("Tasks"));
    QPalette palette = m_list->palette();
    palette.setColor(QPalette::Base, SharedLook::listBackground());
    m_list->setPalette(palette);
    m_list->SetImageList({ taskIcon(), basketIcon(false), basketIcon(true) });
    m_list->SetExtendedStyle(CAutoListCtrl::FullRowSelect);
    m_list->InsertColumn(0, QStringLiteral("Tasks"), CListModel::FormatLeft, 400);
    m_list->setFont(SharedLook::normalFont());
    m_list->installEventFilter(this);
    setFocusProxy(m_list);

    connect(m_list, &CAutoListCtrl::rowClicked, this, [this] { ToggleSelected(); });
    connect(m_list, &CAutoListCtrl::rowDoubleClicked, this, [this] { EditSelected(); });
    connect(m_list, &CAutoListCtrl::contextMenuRequested, this,
            [this](std::optional<QPoint> globalPos) { this->host().ShowContextMenu(globalPos); });

    m_viewMenu = new QMenu(QStringLiteral("View"), this);
    m_viewMenu->setObjectName(QStringLiteral("viewMenu"));
    auto *filters = new QActionGroup(this);
    const QString filterTexts[] = { QStringLiteral("View &All Tasks"),
                                    QStringLiteral("&General Tasks Only"),
                                    QStringLiteral("&Shopping Tasks Only") };
    for (int filter = 0; filter < 3; ++filter) {
        QAction *action = m_viewMenu->addAction(filterTexts[filter]);
        action->setObjectName(QStringLiteral("command%1").arg(32821 + filter));
        action->setCheckable(true);
        filters->addAction(action);
        connect(action, &QAction::triggered, this, [this, filter] { SetFilter(filter); });
        m_filterActions[filter] = action;
    }
    m_viewMenu->addSeparator();
    QAction *clearAll = m_viewMenu->addAction(QStringLiteral("&Clear All Tasks"));
    clearAll->setObjectName(QStringLiteral("command32824"));
    connect(clearAll, &QAction::triggered, this, [this] { ClearTasks(false); });
    QAction *clearDone = m_viewMenu->addAction(QStringLiteral("Clear C&ompleted Tasks"));
    clearDone->setObjectName(QStringLiteral("command32825"));
    connect(clearDone, &QAction::triggered, this, [this] { ClearTasks(true); });

    qint32 stored = 0;
    if (this->host().settings().ReadNumber(kFilterSetting, stored) && stored >= 0 && stored <= 2)
        m_filter = stored;
    updateFilterChecks();
}

void CTasksView::Refresh()
{
    fillWhenShown([this] { fill(); });
    // Hidden, the list waits; the Today view counts with one statement of its own and must
    // not wait for it.
    if (fillPending())
        host().UpdateTodayLines();
}

void CTasksView::fill()
{
    static const char *const titles[] = { "Tasks (All)", "Tasks (General)", "Tasks (Shopping)" };
    m_title->SetText(QString::fromLatin1(titles[m_filter]));
    Layout();
    m_list->SetRedraw(false);
    m_activeCount = TaskList::fillPicked(host().database(), *m_list->model(), m_filter);
    m_list->SetRedraw(true);
    m_list->viewport()->update();
    host().UpdateTodayLines();
}

void CTasksView::updateFilterChecks()
{
    for (int filter = 0; filter < 3; ++filter)
        m_filterActions[filter]->setChecked(filter == m_filter);
}

void CTasksView::SetFilter(qint32 filter)
{
    if (filter < 0 || filter > 2)
        return;
    // Choosing the filter in force still writes it and lists again.
    m_filter = filter;
    updateFilterChecks();
    host().settings().WriteNumber(kFilterSetting, filter);
    Refresh();
}

void CTasksView::ClearTasks(bool doneOnly)
{
    // A plan's task done and not yet recorded (nothing else knows it was done once it is back
    // in the pool) is recorded first.
    const bool planned = Maintenance::reconcile(host().database(), host().today()).tasksChanged();
    // Whatever the filter shows, every picked entry (or every done one) goes back to the pool;
    // nothing is deleted.
    if (TaskList::clear(host().database(), doneOnly) > 0 || planned)
        Refresh();
}

bool CTasksView::selectedEntry(int &row, qint32 &value) const
{
    row = m_list->GetCurSel();
    if (row < 0)
        return false;
    value = m_list->GetItemData(row);
    return value != 0;
}

bool CTasksView::HasSelection() const
{
    int row = -1;
    qint32 value = 0;
    return selectedEntry(row, value);
}

void CTasksView::ToggleSelected()
{
    int row = -1;
    qint32 value = 0;
    if (!selectedEntry(row, value))
        return;
    CTask task(std::abs(value));
    if (value < 1) {
        task.SetStatus(host().database(), CTask::Active);
        ++m_activeCount;
    } else {
        task.SetStatus(host().database(), CTask::Done);
        --m_activeCount;
    }
    m_list->SetItemData(row, -value);
    // A maintenance plan's task: done records the completion and may bring the next period's
    // task at once; active again takes the completion back, and that task with it.
    if (Maintenance::reconcile(host().database(), host().today()).tasksChanged()) {
        Refresh();
        selectTask(task.id());
        return;
    }
    host().UpdateTodayLines();
    m_list->update(m_list->model()->index(row, 0));
    m_list->viewport()->update();
}

void CTasksView::selectTask(qint32 taskId)
{
    for (int row = 0; row < m_list->GetItemCount(); ++row) {
        if (std::abs(m_list->GetItemData(row)) == taskId) {
            m_list->SetCurSel(row);
            m_list->setCurrentIndex(m_list->model()->index(row, 0));
            m_list->EnsureVisible(row);
            return;
        }
    }
}

void CTasksView::EditSelected()
{
    int row = -1;
    qint32 value = 0;
    if (!selectedEntry(row, value))
        return;
    CTask task(std::abs(value));
    task.Load(host().database());
    if (CTaskSheet::Edit(task, host().database(), host().ownerWindow()))
        task.FillListRow(*m_list->model(), row, false, false);
    m_list->SetCurSel(row);
}

void CTasksView::ShowViewMenu()
{
    updateFilterChecks();
    const QPoint at(m_title->x() - 20, m_title->geometry().bottom() + 1);
    m_viewMenu->popup(mapToGlobal(at));
}

void CTasksView::OnContextNew()
{
    host().NewTasks();
}

void CTasksView::OnContextProperties()
{
    EditSelected();
}

void CTasksView::Layout()
{
    const int titleHeight = m_title->sizeHint().height();
    // Clear of the corner icon's visible quarter.
    m_title->setGeometry(
        kBesideCorner, std::max(0, (kRuleY - titleHeight) / 2),
        std::min(m_title->sizeHint().width(), std::max(0, width() - kBesideCorner)), titleHeight);
    placeCorner(*m_corner);
    m_list->setGeometry(0, kListTop, width(), std::max(0, height() - kListTop));
}

void CTasksView::paintEvent(QPaintEvent *event)
{
    CFormView::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, kRuleY, 2000, kRuleY);
}

bool CTasksView::eventFilter(QObject *watched, QEvent *event)
{
    // From the keyboard: Space marks the selected entry as a click does, Enter opens it.
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() == Qt::NoModifier) {
            if (key->key() == Qt::Key_Space) {
                ToggleSelected();
                return true;
            }
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                EditSelected();
                return true;
            }
        }
    }
    return CFormView::eventFilter(watched, event);
}
