#include "views/rooms_view.h"

#include "controls/auto_list_ctrl.h"
#include "controls/label.h"
#include "db/lookups.h"
#include "db/sql_text.h"
#include "records/area.h"
#include "records/home.h"
#include "sheets/area_sheet.h"
#include "widgets/shared_look.h"
#include "widgets/ui.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>

namespace {

// The rule under the title, where the list starts, and the box below it.
constexpr int kTitleRuleY = 23;
constexpr int kListTop = 24;
constexpr int kListBottomGap = 92; // client height - list height
constexpr int kDescriptionHeight = 65;

} // namespace

CRoomsView::CRoomsView(ViewHost &host, QWidget *parent)
    : CFormView(host, parent)
{
    m_title = makeTitle(QStringLiteral("Rooms & Locations"));

    m_list = new CAutoListCtrl(this, CAutoListCtrl::NoHeader | CAutoListCtrl::SingleSelection);
    m_list->setObjectName(QStringLiteral("locations"));
    m_list->setAccessibleName(QStringLiteral("Rooms and Areas"));
    m_list->InsertColumn(0, QStringLiteral("Rooms and Areas"), CListModel::FormatLeft, 170);
    m_list->SetExtendedStyle(CAutoListCtrl::FullRowSelect);
    m_list->setFont(SharedLook::normalFont());
    QPalette palette = m_list->palette();
    palette.setColor(QPalette::Base, SharedLook::listBackground());
    m_list->setPalette(palette);

    m_description = new QPlainTextEdit(this);
    m_description->setObjectName(QStringLiteral("locationDescription"));
    m_description->setAccessibleName(QStringLiteral("Location description"));
    m_description->setReadOnly(true);
    m_description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_description->setFont(SharedLook::normalFont());
    m_description->setTabChangesFocus(true);

    connect(m_list, &CAutoListCtrl::selectedRowChanged, this, [this](int) { ViewSelected(); });
    connect(m_list, &CAutoListCtrl::rowDoubleClicked, this, [this](int) { EditSelected(); });
    connect(m_list, &CAutoListCtrl::deleteKeyPressed, this, &CRoomsView::DeleteSelected);
    connect(m_list, &CAutoListCtrl::contextMenuRequested, this,
            [this](std::optional<QPoint> globalPos) { this->host().ShowContextMenu(globalPos); });
    m_list->installEventFilter(this);
    setFocusProxy(m_list);
}

void CRoomsView::Refresh(qint32 areaId)
{
    fillWhenShown([this, areaId] { fill(areaId); });
}

void CRoomsView::fill(qint32 areaId)
{
    m_description->clear();
    m_shownId = 0;
    Lookups::fillList(host().database(), *m_list->model(), QStringLiteral("Areas"),
                      QStringLiteral("AreaId"), areaId,
                      sqlText("WHERE HomeId=%ld ", long(host().currentHomeId())));
    ViewSelected();
}

qint32 CRoomsView::NewLocation()
{
    if (host().currentHomeId() < 1)
        return 0;
    CArea area;
    area.m_nHomeId = host().currentHomeId();
    if (!CAreaSheet::Edit(area, host().database(), host().ownerWindow()))
        return 0;
    Refresh(area.id());
    return area.id();
}

void CRoomsView::Layout()
{
    const int w = width();
    const int h = height();
    const int titleHeight = m_title->sizeHint().height();
    m_title->setGeometry(8, std::max(0, (kTitleRuleY - titleHeight) / 2), std::max(0, w - 16),
                         titleHeight);
    m_list->setGeometry(0, kListTop, w, std::max(0, h - kListBottomGap));
    m_description->setGeometry(2, h - kDescriptionHeight, std::max(0, w - 2), kDescriptionHeight);
}

void CRoomsView::paintEvent(QPaintEvent *event)
{
    CFormView::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    const int wide = std::max(2000, width());
    painter.drawLine(0, kTitleRuleY, wide, kTitleRuleY);
    painter.drawLine(0, height() - 67, wide, height() - 67);
    painter.drawLine(0, height() - 66, wide, height() - 66);
}

bool CRoomsView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            EditSelected();
            return true;
        }
    }
    return CFormView::eventFilter(watched, event);
}

bool CRoomsView::HasSelection() const
{
    qint32 id = 0;
    int row = -1;
    return Lookups::selectedRow(*m_list->model(), id, row);
}

void CRoomsView::OnContextNew()
{
    if (NewLocation() > 0)
        host().ShowView(ViewHost::LocationsIndex);
}

void CRoomsView::OnContextDelete()
{
    DeleteSelected();
}

void CRoomsView::OnContextProperties()
{
    EditSelected();
}

void CRoomsView::ViewSelected()
{
    qint32 id = 0;
    int row = -1;
    if (!Lookups::selectedRow(*m_list->model(), id, row)) {
        m_description->clear();
        m_shownId = 0;
        return;
    }
    if (id == m_shownId)
        return;
    CArea area(id);
    area.Load(host().database());
    // The text keeps CR LF line ends; the box wants plain line feeds.
    m_description->setPlainText(
        area.DescriptionText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    m_shownId = id;
}

void CRoomsView::EditSelected()
{
    qint32 id = 0;
    int row = -1;
    if (!Lookups::selectedRow(*m_list->model(), id, row))
        return;
    CArea area(id);
    area.Load(host().database());
    if (CAreaSheet::Edit(area, host().database(), host().ownerWindow()))
        Refresh(id);
}

void CRoomsView::DeleteSelected()
{
    qint32 id = 0;
    int row = -1;
    if (!Lookups::selectedRow(*m_list->model(), id, row))
        return;
    bool deleted = false;
    {
        Ui::WaitCursor wait;
        CArea area(id);
        area.Load(host().database());
        deleted = area.Delete(host().database());
    }
    // A delete that failed changed nothing; the list is read again to show what the file holds.
    if (deleted)
        m_list->DeleteItem(row);
    else
        Refresh(id);
    ViewSelected();
}
