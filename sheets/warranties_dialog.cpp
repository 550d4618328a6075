#include "sheets/warranties_dialog.h"

#include "controls/auto_list_ctrl.h"
#include "db/lookups.h"
#include "format/display_text.h"
#include "records/asset.h"
#include "records/warranties.h"
#include "sheets/asset_sheet.h"
#include "widgets/shared_look.h"
#include "widgets/ui.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Warranties {

Dialog::Dialog(CADODataBase &db, qint32 homeId, const QString &homeName, const QDate &today,
               QWidget *owner)
    : QDialog(owner)
    , m_db(db)
    , m_homeId(homeId)
    , m_today(today)
{
    setObjectName(QStringLiteral("warranties"));
    setWindowTitle(QStringLiteral("Warranties"));

    auto *intro = new QLabel(
        QStringLiteral("The &warranties of %1 that ended in the last %2 days or end within the "
                       "next 12 months:")
            .arg(QString(homeName).replace(QLatin1Char('&'), QStringLiteral("&&")),
                 QString::number(Warranties::kEndedWithin)),
        this);
    intro->setWordWrap(true);

    // Each group opens with a heading row, which is read as a heading and never selected.
    m_list = new CAutoListCtrl(this, CAutoListCtrl::SingleSelection);
    m_list->setObjectName(QStringLiteral("warrantyList"));
    m_list->setAccessibleName(QStringLiteral("Warranties"));
    m_list->setFont(SharedLook::normalFont());
    m_list->InsertColumn(0, QStringLiteral("Description"), CListModel::FormatLeft, 170);
    m_list->InsertColumn(1, QStringLiteral("Location"), CListModel::FormatLeft, 100);
    m_list->InsertColumn(2, QStringLiteral("Warranty"), CListModel::FormatLeft, 80);
    m_list->InsertColumn(3, QStringLiteral("Days Left"), CListModel::FormatLeft, 110);
    m_list->SetExtendedStyle(CAutoListCtrl::FullRowSelect);
    // The rows keep their groups: a click on a column heading does not sort them.
    m_list->header()->setSectionsClickable(false);
    m_list->setMinimumSize(500, 260);
    intro->setBuddy(m_list);

    m_none = new QLabel(
        QStringLiteral("No warranty ended in the last %1 days or ends within the next 12 months.")
            .arg(Warranties::kEndedWithin),
        this);
    m_none->setObjectName(QStringLiteral("noWarranties"));
    m_none->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(this);
    m_properties = buttons->addButton(QStringLiteral("&Properties"), QDialogButtonBox::ActionRole);
    m_properties->setObjectName(QStringLiteral("properties"));
    auto *close = buttons->addButton(QStringLiteral("&Close"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("close"));
    // Enter belongs to the list (it opens the selected asset), never to a default button.
    for (QPushButton *button : { m_properties, close }) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_none);
    layout->addWidget(buttons);
    setTabOrder(m_list, m_properties);
    setTabOrder(m_properties, close);

    connect(m_list, &CAutoListCtrl::rowDoubleClicked, this, &Dialog::editSelected);
    m_list->installEventFilter(this);
    connect(m_list, &CAutoListCtrl::selectedRowChanged, this, &Dialog::updateButtons);
    connect(m_properties, &QPushButton::clicked, this, &Dialog::editSelected);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    refill(0);
    m_list->setFocus();
}

void Dialog::refill(qint32 assetId)
{
    std::vector<Warranties::Entry> entries;
    {
        Ui::WaitCursor wait;
        entries = Warranties::list(m_db, m_homeId, m_today);
    }
    // Groups in the order a person acts on them: ended, ending soon, ending this year; the
    // statement gives the dates in that order already.
    m_list->SetRedraw(false);
    m_list->DeleteAllItems();
    int select = -1;
    for (auto group : { Warranties::Group::Ended, Warranties::Group::EndingSoon,
                        Warranties::Group::EndingThisYear }) {
        int heading = -1;
        int count = 0;
        for (const Warranties::Entry &entry : entries) {
            if (entry.group != group)
                continue;
            if (heading < 0) {
                heading = m_list->InsertItem(m_list->GetItemCount(), QString());
                m_list->SetItemHeading(heading, true);
            }
            const int row = m_list->InsertItem(m_list->GetItemCount(), entry.description);
            m_list->SetItemText(row, 1, entry.location);
            m_list->SetItemText(row, 2, dateText(entry.date, false));
            m_list->SetItemText(row, 3, Warranties::daysText(entry.daysLeft));
            m_list->SetItemData(row, entry.assetId);
            if (select < 0 || entry.assetId == assetId)
                select = row;
            ++count;
        }
        if (heading >= 0)
            m_list->SetItemText(heading, 0,
                                Warranties::groupTitle(group) + QStringLiteral(" (%1)").arg(count));
    }
    m_list->SetRedraw(true);
    if (select >= 0) {
        m_list->SetCurSel(select);
        m_list->setCurrentIndex(m_list->model()->index(select, 0));
        m_list->EnsureVisible(select);
    }
    m_none->setVisible(entries.empty());
    // An empty list says why, to a screen reader as well as on the screen.
    m_list->setAccessibleDescription(entries.empty() ? m_none->text() : QString());
    updateButtons();
}

bool Dialog::eventFilter(QObject *watched, QEvent *event)
{
    // Enter opens the selected warranty's asset, as a double click does.
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            editSelected();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

qint32 Dialog::selectedId() const
{
    return Lookups::selectedId(*m_list->model());
}

void Dialog::updateButtons()
{
    m_properties->setEnabled(selectedId() != 0);
}

void Dialog::editSelected()
{
    const qint32 id = selectedId();
    if (id == 0)
        return;
    CAsset asset(id);
    if (!asset.Load(m_db) || !CAssetSheet::Edit(asset, m_db, this))
        return;
    refill(id);
    emit assetEdited(id);
}

} // namespace Warranties
