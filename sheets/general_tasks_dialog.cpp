#include "sheets/general_tasks_dialog.h"

#include "controls/auto_list_ctrl.h"
#include "db/lookups.h"
#include "platform/settings_key.h"
#include "records/task.h"
#include "sheets/task_sheet.h"
#include "widgets/shared_look.h"
#include "widgets/ui.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QVBoxLayout>

namespace {

const QString kJumpSetting = QStringLiteral("JumpToShoppingTasks");

} // namespace

CDlgGeneralTasks::CDlgGeneralTasks(CADODataBase &db, CSettingsKey &settings, QWidget *owner)
    : QDialog(owner)
    , m_db(db)
    , m_settings(settings)
{
    setWindowTitle(QStringLiteral("General Tasks"));
    setObjectName(QStringLiteral("generalTasks"));

    m_general = new QRadioButton(QStringLiteral("&General Tasks"), this);
    m_general->setObjectName(QStringLiteral("generalKind"));
    m_shopping = new QRadioButton(QStringLiteral("&Shopping Tasks"), this);
    m_shopping->setObjectName(QStringLiteral("shoppingKind"));
    auto *kinds = new QButtonGroup(this);
    kinds->addButton(m_general);
    kinds->addButton(m_shopping);

    m_list = new CAutoListCtrl(this, CAutoListCtrl::SingleSelection);
    m_list->setObjectName(QStringLiteral("tasks"));
    m_list->setAccessibleName(QStringLiteral("Tasks"));
    m_list->InsertColumn(0, QStringLiteral("Tasks"), CListModel::FormatLeft, 200);
    m_list->SetExtendedStyle(CAutoListCtrl::FullRowSelect | CAutoListCtrl::CheckBoxes);
    m_list->setMinimumSize(360, 260);

    m_new = new QPushButton(QStringLiteral("&New"), this);
    m_new->setObjectName(QStringLiteral("new"));
    m_edit = new QPushButton(QStringLiteral("&Edit"), this);
    m_edit->setObjectName(QStringLiteral("edit"));
    m_remove = new QPushButton(QStringLiteral("&Remove"), this);
    m_remove->setObjectName(QStringLiteral("remove"));
    m_close = new QPushButton(QStringLiteral("&Close"), this);
    m_close->setObjectName(QStringLiteral("close"));
    m_close->setDefault(true);
    for (QPushButton *button : { m_new, m_edit, m_remove, m_close })
        button->setAutoDefault(false);
    m_close->setAutoDefault(true);

    auto *kindRow = new QHBoxLayout;
    kindRow->addWidget(m_general);
    kindRow->addWidget(m_shopping);
    kindRow->addStretch(1);
    auto *buttonColumn = new QVBoxLayout;
    buttonColumn->addWidget(m_new);
    buttonColumn->addWidget(m_edit);
    buttonColumn->addWidget(m_remove);
    buttonColumn->addStretch(1);
    buttonColumn->addWidget(m_close);
    auto *body = new QHBoxLayout;
    body->addWidget(m_list, 1);
    body->addLayout(buttonColumn);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(kindRow);
    layout->addLayout(body, 1);

    setTabOrder(m_general, m_shopping);
    setTabOrder(m_shopping, m_list);
    setTabOrder(m_list, m_new);
    setTabOrder(m_new, m_edit);
    setTabOrder(m_edit, m_remove);
    setTabOrder(m_remove, m_close);

    qint32 jump = 0;
    const bool shopping = m_settings.ReadNumber(kJumpSetting, jump) && jump != 0;
    (shopping ? m_shopping : m_general)->setChecked(true);

    connect(m_general, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            fill();
    });
    connect(m_shopping, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            fill();
    });
    // Any change of a row's state (ticked, selected, current) writes its status, so a done
    // entry whose row is touched here while ticked is active again.
    connect(m_list, &CAutoListCtrl::itemCheckChanged, this,
            [this](int row, bool) { writeStatus(row); });
    QItemSelectionModel *selection = m_list->model()->GetSelectionModel();
    connect(selection, &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected, const QItemSelection &deselected) {
                QSet<int> rows;
                for (const QModelIndex &index : selected.indexes() + deselected.indexes())
                    rows.insert(index.row());
                for (int row : std::as_const(rows))
                    writeStatus(row);
            });
    connect(selection, &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current, const QModelIndex &previous) {
                for (const QModelIndex &index : { current, previous })
                    if (index.isValid())
                        writeStatus(index.row());
            });
    connect(m_list, &CAutoListCtrl::rowDoubleClicked, this, [this] { EditSelected(); });
    connect(m_list, &CAutoListCtrl::deleteKeyPressed, this, &CDlgGeneralTasks::RemoveSelected);
    connect(m_new, &QPushButton::clicked, this, &CDlgGeneralTasks::NewEntry);
    connect(m_edit, &QPushButton::clicked, this, &CDlgGeneralTasks::EditSelected);
    connect(m_remove, &QPushButton::clicked, this, &CDlgGeneralTasks::RemoveSelected);
    connect(m_close, &QPushButton::clicked, this, &CDlgGeneralTasks::accept);

    fill();
}

bool CDlgGeneralTasks::showsShopping() const
{
    return m_shopping->isChecked();
}

int CDlgGeneralTasks::DoModal()
{
    return Ui::runModal(*this);
}

void CDlgGeneralTasks::fill()
{
    Ui::WaitCursor wait;
    m_reacting = false;
    m_list->SetRedraw(false);
    const bool shopping = showsShopping();
    TaskList::fillPool(m_db, *m_list->model(), shopping);
    m_list->SetRedraw(true);
    // Shopping items are short: they flow down and into further columns. General tasks read
    // better one to a line.
    m_list->SetListMode(shopping, 150);
    m_reacting = true;

    if (m_selectAfterFill != 0) {
        for (int row = 0; row < m_list->GetItemCount(); ++row) {
            if (m_list->GetItemData(row) == m_selectAfterFill) {
                m_list->SetCurSel(row);
                m_list->EnsureVisible(row);
                m_list->setFocus(Qt::OtherFocusReason);
                break;
            }
        }
        m_selectAfterFill = 0;
    }
}

void CDlgGeneralTasks::writeStatus(int row)
{
    if (!m_reacting || row < 0 || row >= m_list->GetItemCount())
        return;
    CTask task(m_list->GetItemData(row));
    task.SetStatus(m_db, m_list->GetCheck(row) ? CTask::Active : CTask::InPool);
}

void CDlgGeneralTasks::NewEntry()
{
    CTask task;
    if (showsShopping()) {
        task.m_nTaskType = CTask::ShoppingItem;
        task.m_fCustom1 = 1.0f;
    } else {
        task.m_nTaskType = CTask::GeneralTask;
    }
    if (!CTaskSheet::Edit(task, m_db, this))
        return;
    m_selectAfterFill = task.id();
    fill();
}

void CDlgGeneralTasks::EditSelected()
{
    qint32 id = 0;
    int row = -1;
    if (!Lookups::selectedRow(*m_list->model(), id, row))
        return;
    CTask task(id);
    task.Load(m_db);
    if (CTaskSheet::Edit(task, m_db, this)) {
        m_selectAfterFill = task.id();
        fill();
    }
    m_list->setFocus(Qt::OtherFocusReason);
}

void CDlgGeneralTasks::RemoveSelected()
{
    qint32 id = 0;
    int row = -1;
    if (!Lookups::selectedRow(*m_list->model(), id, row))
        return;
    // The pool deletes at once, as its Remove button always has.
    if (CTask(id).Delete(m_db))
        m_list->DeleteItem(row);
    m_list->setFocus(Qt::OtherFocusReason);
}

void CDlgGeneralTasks::accept()
{
    m_settings.WriteNumber(kJumpSetting, showsShopping() ? 1 : 0);
    QDialog::accept();
}
