#include "sheets/maintenance_panel.h"

#include "controls/auto_list_ctrl.h"
#include "db/ado_database.h"
#include "db/lookups.h"
#include "format/display_text.h"
#include "format/string_table.h"
#include "platform/busy.h"
#include "platform/whole_file.h"
#include "records/maintenance.h"
#include "records/maintenance_calendar.h"
#include "sheets/maintenance_done_dialog.h"
#include "sheets/maintenance_plan_sheet.h"
#include "widgets/file_choice.h"
#include "widgets/shared_look.h"
#include "widgets/ui.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Maintenance {

namespace {

QString shortDate(const QDate &date)
{
    return date.isValid() ? dateText(COleDateTime::fromDate(date), false) : QString();
}

QString dueText(const QDate &due, const QDate &today)
{
    if (!due.isValid())
        return QStringLiteral("(no date)");
    if (due < today)
        return shortDate(due) + QStringLiteral(" (overdue)");
    if (due == today)
        return shortDate(due) + QStringLiteral(" (today)");
    return shortDate(due);
}

// What a plan is for; an asset or location gone since (or never of this home) says so.
QString forText(const Row &row)
{
    if (!row.forWhat.isEmpty())
        return row.forWhat;
    return row.plan.assetId > 0 || row.plan.areaId > 0 ? QStringLiteral("(not found)")
                                                       : QStringLiteral("(whole home)");
}

QString quoted(const QString &text)
{
    return QStringLiteral("\u201c") + text + QStringLiteral("\u201d");
}

} // namespace

Panel::Panel(CADODataBase &db, qint32 homeId, const QString &homeName, qint32 assetId,
             const QDate &today, QWidget *parent)
    : QWidget(parent)
    , m_db(db)
    , m_homeId(homeId)
    , m_homeName(homeName)
    , m_assetId(assetId)
    , m_today(today)
{
    auto *plansLabel = new QLabel(assetId > 0 ? QStringLiteral("&Plans for this asset:")
                                              : QStringLiteral("&Plans, the next due first:"),
                                  this);
    m_plans = new CAutoListCtrl(this, CAutoListCtrl::SingleSelection);
    m_plans->setObjectName(QStringLiteral("plans"));
    m_plans->setAccessibleName(QStringLiteral("Maintenance plans"));
    m_plans->setFont(SharedLook::normalFont());
    m_plans->InsertColumn(0, QStringLiteral("Description"), CListModel::FormatLeft, 150);
    if (assetId <= 0)
        m_plans->InsertColumn(1, QStringLiteral("For"), CListModel::FormatLeft, 100);
    const int next = m_plans->GetColumnCount();
    m_plans->InsertColumn(next, QStringLiteral("How Often"), CListModel::FormatLeft, 90);
    m_plans->InsertColumn(next + 1, QStringLiteral("Next Due"), CListModel::FormatLeft, 110);
    m_plans->InsertColumn(next + 2, QStringLiteral("Last Done"), CListModel::FormatLeft, 70);
    m_plans->SetExtendedStyle(CAutoListCtrl::FullRowSelect);
    // The list keeps the order by next date; a heading click does not sort it otherwise.
    m_plans->header()->setSectionsClickable(false);
    plansLabel->setBuddy(m_plans);

    m_historyLabel = new QLabel(QStringLiteral("&History of the selected plan:"), this);
    m_history = new CAutoListCtrl(this, CAutoListCtrl::SingleSelection);
    m_history->setObjectName(QStringLiteral("history"));
    m_history->setAccessibleName(QStringLiteral("History of the selected plan"));
    m_history->setFont(SharedLook::normalFont());
    m_history->InsertColumn(0, QStringLiteral("Date"), CListModel::FormatLeft, 80);
    m_history->InsertColumn(1, QStringLiteral("What"), CListModel::FormatLeft, 60);
    m_history->InsertColumn(2, QStringLiteral("Cost"), CListModel::FormatRight, 60);
    m_history->InsertColumn(3, QStringLiteral("Notes"), CListModel::FormatLeft, 160);
    m_history->SetExtendedStyle(CAutoListCtrl::FullRowSelect);
    m_history->header()->setSectionsClickable(false);
    m_historyLabel->setBuddy(m_history);

    auto *newButton = new QPushButton(QStringLiteral("&New..."), this);
    newButton->setObjectName(QStringLiteral("newPlan"));
    m_edit = new QPushButton(QStringLiteral("&Edit..."), this);
    m_edit->setObjectName(QStringLiteral("editPlan"));
    m_delete = new QPushButton(QStringLiteral("De&lete"), this);
    m_delete->setObjectName(QStringLiteral("deletePlan"));
    m_done = new QPushButton(QStringLiteral("Mark &Done..."), this);
    m_done->setObjectName(QStringLiteral("markDone"));
    m_skip = new QPushButton(QStringLiteral("&Skip"), this);
    m_skip->setObjectName(QStringLiteral("skipPlan"));
    m_skip->setToolTip(QStringLiteral("Skip the date due: the plan moves to its next date"));
    m_export = new QPushButton(QStringLiteral("Export &Calendar..."), this);
    m_export->setObjectName(QStringLiteral("exportCalendar"));
    m_export->setToolTip(QStringLiteral("Write the plans as an iCalendar file for a calendar "
                                        "program"));
    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : { newButton, m_edit, m_delete, m_done, m_skip, m_export }) {
        // Enter belongs to the list (it opens the selected plan), never to a default button.
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->insertSpacing(3, 8);
    buttons->insertSpacing(7, 8);
    buttons->addStretch(1);

    auto *lists = new QVBoxLayout;
    lists->addWidget(plansLabel);
    lists->addWidget(m_plans, 3);
    lists->addWidget(m_historyLabel);
    lists->addWidget(m_history, 2);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    setTabOrder(m_plans, newButton);
    setTabOrder(newButton, m_edit);
    setTabOrder(m_edit, m_delete);
    setTabOrder(m_delete, m_done);
    setTabOrder(m_done, m_skip);
    setTabOrder(m_skip, m_export);
    setTabOrder(m_export, m_history);

    connect(newButton, &QPushButton::clicked, this, &Panel::newPlan);
    connect(m_edit, &QPushButton::clicked, this, &Panel::editSelected);
    connect(m_delete, &QPushButton::clicked, this, &Panel::deleteSelected);
    connect(m_done, &QPushButton::clicked, this, &Panel::markSelectedDone);
    connect(m_skip, &QPushButton::clicked, this, &Panel::skipSelected);
    connect(m_export, &QPushButton::clicked, this, &Panel::exportCalendar);
    connect(m_plans, &CAutoListCtrl::rowDoubleClicked, this, &Panel::editSelected);
    connect(m_plans, &CAutoListCtrl::deleteKeyPressed, this, &Panel::deleteSelected);
    connect(m_plans, &CAutoListCtrl::selectedRowChanged, this, [this] {
        fillHistory();
        updateButtons();
    });
    m_plans->installEventFilter(this);

    refill();
}

void Panel::refill(qint32 planId)
{
    std::vector<Row> rows;
    {
        // Many thousands of plans take a while to read: the progress window says so.
        const Busy::Scope busy(QStringLiteral("Reading the maintenance plans..."));
        // What the task list did meanwhile (a task marked done) shows in the dates listed.
        reconcile(m_db, m_today);
        rows = Maintenance::rows(m_db, m_homeId, m_assetId);
    }
    const bool forColumn = m_assetId <= 0;
    m_plans->SetRedraw(false);
    m_plans->DeleteAllItems();
    int select = rows.empty() ? -1 : 0;
    for (const Row &row : rows) {
        const int at = m_plans->InsertItem(m_plans->GetItemCount(), row.plan.description);
        int col = 1;
        if (forColumn)
            m_plans->SetItemText(at, col++, forText(row));
        m_plans->SetItemText(at, col++, everyText(row.plan.every, Unit(row.plan.unit)));
        m_plans->SetItemText(at, col++, dueText(row.plan.nextDue, m_today));
        m_plans->SetItemText(at, col, shortDate(row.lastDone));
        m_plans->SetItemData(at, row.plan.id);
        if (row.plan.id == planId)
            select = at;
    }
    m_plans->SetRedraw(true);
    if (select >= 0) {
        m_plans->SetCurSel(select);
        m_plans->setCurrentIndex(m_plans->model()->index(select, 0));
        m_plans->EnsureVisible(select);
    }
    fillHistory();
    updateButtons();
}

void Panel::fillHistory()
{
    const qint32 planId = selectedId();
    std::vector<LogEntry> entries;
    if (planId > 0)
        entries = Maintenance::history(m_db, planId);
    m_history->SetRedraw(false);
    m_history->DeleteAllItems();
    for (const LogEntry &entry : entries) {
        const int at = m_history->InsertItem(m_history->GetItemCount(), shortDate(entry.date));
        m_history->SetItemText(at, 1,
                               entry.skipped ? QStringLiteral("Skipped") : QStringLiteral("Done"));
        m_history->SetItemText(at, 2, entry.cost > 0 ? moneyText(entry.cost) : QString());
        m_history->SetItemText(at, 3, entry.notes);
        m_history->SetItemData(at, entry.id);
    }
    m_history->SetRedraw(true);
}

qint32 Panel::selectedId() const
{
    return Lookups::selectedId(*m_plans->model());
}

QString Panel::selectedText() const
{
    const int row = m_plans->GetCurSel();
    return row >= 0 ? m_plans->GetItemText(row, 0) : QString();
}

void Panel::updateButtons()
{
    const bool selected = selectedId() > 0;
    for (QPushButton *button : { m_edit, m_delete, m_done, m_skip })
        button->setEnabled(selected);
    m_export->setEnabled(m_plans->GetItemCount() > 0);
}

void Panel::afterChange(qint32 planId)
{
    refill(planId);
    emit changed();
}

void Panel::newPlan()
{
    Plan plan(m_homeId, m_today);
    plan.assetId = m_assetId;
    if (PlanSheet::Edit(plan, m_db, window()))
        afterChange(plan.id);
    m_plans->setFocus(Qt::OtherFocusReason);
}

void Panel::editSelected()
{
    Plan plan;
    plan.id = selectedId();
    if (plan.id <= 0)
        return;
    if (!plan.load(m_db)) {
        refill();
        return;
    }
    if (PlanSheet::Edit(plan, m_db, window()))
        afterChange(plan.id);
    m_plans->setFocus(Qt::OtherFocusReason);
}

void Panel::deleteSelected()
{
    Plan plan;
    plan.id = selectedId();
    if (plan.id <= 0)
        return;
    const QString question =
        QStringLiteral("Delete the plan %1 and its history?\n\nA task it has made stays in the "
                       "task list.")
            .arg(quoted(selectedText()));
    if (Ui::messageBox(this, question, Strings::load(Strings::AppTitle), Ui::Icon::Warning,
                       Ui::Yes | Ui::No, Ui::No)
        != Ui::Yes)
        return;
    bool removed = false;
    {
        Ui::WaitCursor wait;
        removed = plan.load(m_db) && plan.remove(m_db);
    }
    if (!removed)
        Ui::messageBox(this, QStringLiteral("The plan could not be deleted from the data file."),
                       Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Ok);
    afterChange(0);
    m_plans->setFocus(Qt::OtherFocusReason);
}

void Panel::markSelectedDone()
{
    Plan plan;
    plan.id = selectedId();
    if (plan.id <= 0 || !plan.load(m_db))
        return;
    DoneDialog dialog(plan.description, m_today, window());
    if (!dialog.DoModal())
        return;
    QString refusal;
    bool done = false;
    {
        Ui::WaitCursor wait;
        done =
            markDone(m_db, plan, dialog.date(), dialog.cost(), dialog.notes(), m_today, &refusal);
    }
    if (!done)
        Ui::messageBox(this,
                       refusal.isEmpty() ? QStringLiteral("The plan could not be saved in the "
                                                          "data file.")
                                         : refusal,
                       Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Ok);
    afterChange(plan.id);
    m_plans->setFocus(Qt::OtherFocusReason);
}

void Panel::skipSelected()
{
    Plan plan;
    plan.id = selectedId();
    if (plan.id <= 0 || !plan.load(m_db))
        return;
    const QDate next = nextDueAfterSkip(plan, m_today);
    const QString question =
        QStringLiteral("Skip %1, due %2?\n\nIt will next be due %3.")
            .arg(quoted(plan.description),
                 plan.nextDue.isValid() ? dayText(plan.nextDue) : QStringLiteral("(no date)"),
                 next.isValid() ? dayText(next) : QStringLiteral("(no date)"));
    if (Ui::messageBox(this, question, Strings::load(Strings::AppTitle), Ui::Icon::Question,
                       Ui::Yes | Ui::No, Ui::Yes)
        != Ui::Yes)
        return;
    QString refusal;
    bool skipped = false;
    {
        Ui::WaitCursor wait;
        skipped = skip(m_db, plan, m_today, &refusal);
    }
    if (!skipped)
        Ui::messageBox(this,
                       refusal.isEmpty() ? QStringLiteral("The plan could not be saved in the "
                                                          "data file.")
                                         : refusal,
                       Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Ok);
    afterChange(plan.id);
    m_plans->setFocus(Qt::OtherFocusReason);
}

void Panel::exportCalendar()
{
    const QString appName = Strings::load(Strings::AppTitle);
    const QString path = FileChoice::saveFileName(
        this, QStringLiteral("Export Calendar"), Calendar::proposedFileName(m_homeName),
        QStringLiteral("iCalendar Files (*.ics)"), QStringLiteral("ics"), m_db.GetDataSource());
    if (path.isEmpty())
        return;
    WholeFile::Outcome done;
    {
        Ui::WaitCursor wait;
        const std::vector<Row> rows = Calendar::plansToExport(m_db, m_homeId, m_assetId);
        done = WholeFile::write(path, m_db.GetDataSource(), [&](QIODevice &file, QString *) {
            return Calendar::write(file, rows, m_homeName, QDateTime::currentDateTimeUtc())
                ? WholeFile::Result::Written
                : WholeFile::Result::Failed;
        });
    }
    if (done.result != WholeFile::Result::Written) {
        QString text = QStringLiteral("The calendar file could not be written.");
        if (!done.error.isEmpty())
            text += QStringLiteral("\n\n") + done.error;
        Ui::messageBox(this, text, appName, Ui::Icon::Warning, Ui::Ok);
        return;
    }
    FileChoice::offerToOpen(this, path);
}

bool Panel::eventFilter(QObject *watched, QEvent *event)
{
    // Enter opens the selected plan, as a double click does.
    if (watched == m_plans && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            editSelected();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace Maintenance
