#include "views/home_mgr_view.h"

#include "controls/auto_list_ctrl.h"
#include "controls/label.h"
#include "db/lookups.h"
#include "format/string_table.h"
#include "records/home.h"
#include "sheets/home_sheet.h"
#include "widgets/shared_look.h"
#include "widgets/ui.h"

#include <QKeyEvent>
#include <QPainter>

namespace {

// The line under the prompt, and where the list starts below it.
constexpr int kRuleY = 23;
constexpr int kListTop = 25;

} // namespace

CHomeMgrView::CHomeMgrView(ViewHost &host, QWidget *parent)
    : CFormView(host, parent)
{
    m_prompt = makeTitle(QStringLiteral("Please select a home..."));
    m_prompt->setObjectName(QStringLiteral("prompt"));

    m_list = new CAutoListCtrl(this, CAutoListCtrl::NoHeader | CAutoListCtrl::SingleSelection);
    m_list->setObjectName(QStringLiteral("homes"));
    m_list->setAccessibleName(QStringLiteral("My Homes"));
    m_list->InsertColumn(0, QStringLiteral("My Homes"), CListModel::FormatLeft, 300);
    m_list->SetExtendedStyle(CAutoListCtrl::FullRowSelect);
    m_list->setFont(SharedLook::normalFont());
    QPalette palette = m_list->palette();
    palette.setColor(QPalette::Base, SharedLook::listBackground());
    m_list->setPalette(palette);

    connect(m_list, &CAutoListCtrl::rowClicked, this, &CHomeMgrView::onRowClicked);
    connect(m_list, &CAutoListCtrl::deleteKeyPressed, this, &CHomeMgrView::DeleteSelected);
    connect(m_list, &CAutoListCtrl::contextMenuRequested, this,
            [this](std::optional<QPoint> globalPos) { this->host().ShowContextMenu(globalPos); });
    m_list->installEventFilter(this);
    setFocusProxy(m_list);
}

void CHomeMgrView::Refresh(qint32 homeId)
{
    Lookups::fillList(host().database(), *m_list->model(), QStringLiteral("Homes"),
                      QStringLiteral("HomeId"), homeId);
}

void CHomeMgrView::Layout()
{
    const int titleHeight = m_prompt->sizeHint().height();
    m_prompt->setGeometry(8, std::max(0, (kRuleY - titleHeight) / 2), std::max(0, width() - 16),
                          titleHeight);
    m_list->setGeometry(0, kListTop, width(), std::max(0, height() - kListTop));
}

void CHomeMgrView::paintEvent(QPaintEvent *event)
{
    CFormView::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, kRuleY, width(), kRuleY);
}

bool CHomeMgrView::HasSelection() const
{
    qint32 id = 0;
    int row = -1;
    return Lookups::selectedRow(*m_list->model(), id, row);
}

bool CHomeMgrView::eventFilter(QObject *watched, QEvent *event)
{
    // Enter picks the selected home, so the list needs no mouse.
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            onRowClicked(m_list->GetCurSel());
            return true;
        }
    }
    return CFormView::eventFilter(watched, event);
}

void CHomeMgrView::onRowClicked(int)
{
    qint32 id = 0;
    int row = -1;
    if (Lookups::selectedRow(*m_list->model(), id, row))
        host().SetCurrentHome(id);
}

void CHomeMgrView::OnContextNew()
{
    host().NewHome();
}

void CHomeMgrView::OnContextDelete()
{
    DeleteSelected();
}

void CHomeMgrView::OnContextProperties()
{
    EditSelected();
}

void CHomeMgrView::DeleteSelected()
{
    qint32 id = 0;
    int row = -1;
    if (!Lookups::selectedRow(*m_list->model(), id, row))
        return;
    const int answer =
        Ui::messageBox(this,
                       QStringLiteral("This home and all the data you have entered about it "
                                      "will be permanently deleted. Continue?"),
                       Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Yes | Ui::No);
    if (answer != Ui::Yes)
        return;
    bool deleted = false;
    {
        Ui::WaitCursor wait;
        deleted = CHome(id).Delete(host().database());
    }
    // When some statement failed the list is read again, so it shows what the file holds.
    if (deleted)
        m_list->DeleteItem(row);
    else
        Refresh(id);
}

void CHomeMgrView::EditSelected()
{
    qint32 id = 0;
    int row = -1;
    if (!Lookups::selectedRow(*m_list->model(), id, row))
        return;
    CHome home(id);
    home.Load(host().database());
    if (CHomeSheet::Edit(home, host().database(), host().ownerWindow()))
        Refresh(0);
    m_list->SetCurSel(row);
}
