#include "views/inventory_view.h"

#include "controls/auto_list_ctrl.h"
#include "controls/combo_model.h"
#include "controls/label.h"
#include "db/ado_database.h"
#include "db/lookups.h"
#include "db/sql_text.h"
#include "format/string_table.h"
#include "platform/busy.h"
#include "platform/settings_key.h"
#include "records/asset.h"
#include "records/home_figures.h"
#include "sheets/asset_sheet.h"
#include "widgets/data_problem.h"
#include "widgets/shared_look.h"
#include "widgets/ui.h"

#include <QActionGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QShortcut>

#include <algorithm>
#include <utility>

namespace {

const QString kFilterSetting = QStringLiteral("InventoryCategory");
const QString kAllTitle = QStringLiteral("Home Inventory (All)");

// Rules under the title and above the description box; the list sits between them.
constexpr int kTitleRuleY = 23;
constexpr int kListTop = 24;
constexpr int kListBottomGap = 92; // client height - list height
constexpr int kDescriptionHeight = 65;
constexpr int kSearchWidth = 220;

QPixmap emptyPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A closed carton: any asset without a picture.
QPixmap cartonImage()
{
    QPixmap pixmap = emptyPixmap(16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(120, 80, 30), 1));
    p.setBrush(QColor(214, 170, 105));
    p.drawRect(QRectF(2.5, 5.5, 11, 8));
    p.setBrush(QColor(234, 200, 140));
    QPainterPath lid;
    lid.moveTo(2.5, 5.5);
    lid.lineTo(5.5, 2.5);
    lid.lineTo(13.5, 2.5);
    lid.lineTo(13.5, 5.5);
    lid.closeSubpath();
    p.drawPath(lid);
    p.setPen(QPen(QColor(150, 105, 45), 1));
    p.drawLine(QPointF(8, 6), QPointF(8, 13));
    return pixmap;
}

// A framed landscape: an asset with a picture.
QPixmap pictureImage()
{
    QPixmap pixmap = emptyPixmap(16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(55, 96, 157), 1));
    p.setBrush(QColor(190, 225, 250));
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 200, 40));
    p.drawEllipse(QPointF(11, 6), 1.8, 1.8);
    p.setBrush(QColor(70, 150, 70));
    QPainterPath hills;
    hills.moveTo(2, 13);
    hills.lineTo(6, 7);
    hills.lineTo(9, 11);
    hills.lineTo(11, 9);
    hills.lineTo(14, 13);
    hills.closeSubpath();
    p.drawPath(hills);
    return pixmap;
}

// A strip of film: a video, DVD or CD title.
QPixmap filmImage()
{
    QPixmap pixmap = emptyPixmap(16);
    QPainter p(&pixmap);
    p.fillRect(QRect(2, 1, 12, 14), QColor(40, 40, 48));
    p.fillRect(QRect(5, 3, 6, 4), QColor(150, 190, 230));
    p.fillRect(QRect(5, 9, 6, 4), QColor(150, 190, 230));
    for (int y = 2; y < 15; y += 3) {
        p.fillRect(QRect(3, y, 1, 2), Qt::white);
        p.fillRect(QRect(12, y, 1, 2), Qt::white);
    }
    return pixmap;
}

// A paper-clip over the lower-right corner of an image: the asset has attachments.
QPixmap withClip(QPixmap pixmap)
{
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // An inner leg, the loop round the bottom, the long outer leg and the loop over the top.
    QPainterPath clip;
    clip.moveTo(11.25, 7);
    clip.lineTo(11.25, 12.75);
    clip.arcTo(QRectF(11.25, 11.5, 2.5, 2.5), 180, 180);
    clip.lineTo(13.75, 4.25);
    clip.arcTo(QRectF(9.25, 2, 4.5, 4.5), 0, 180);
    clip.lineTo(9.25, 11.5);
    // A white edge keeps the clip apart from the picture under it.
    p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(clip);
    p.setPen(QPen(QColor(45, 50, 70), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(clip);
    return pixmap;
}

} // namespace

QList<QPixmap> CInventoryView::smallImages()
{
    const QList<QPixmap> plain = { cartonImage(), pictureImage(), filmImage() };
    QList<QPixmap> images = plain;
    for (const QPixmap &image : plain)
        images << withClip(image);
    return images;
}

QString CInventoryView::rowNote(int row) const
{
    const CListModel &model = *m_list->model();
    if (model.GetItemImage(row) < kWithAttachments)
        return {};
    const int count = m_marks.value(model.GetItemData(row)).count;
    if (count <= 0)
        return {};
    return count == 1 ? QStringLiteral("1 attachment")
                      : QStringLiteral("%1 attachments").arg(count);
}

CInventoryView::CInventoryView(ViewHost &host, QWidget *parent)
    : CFormView(host, parent)
{
    m_title = makeTitle(kAllTitle);
    m_title->setToolTip(QStringLiteral("Choose a category (Alt+C)"));
    m_title->setCursor(Qt::PointingHandCursor);

    m_corner = makeCornerIcon(QStringLiteral("categoryIcon"), QStringLiteral("Categories"),
                              QStringLiteral("Choose a category (Alt+C)"));

    m_list = new CAutoListCtrl(this, CAutoListCtrl::NoHeader | CAutoListCtrl::SingleSelection);
    m_list->setObjectName(QStringLiteral("assets"));
    m_list->setAccessibleName(QStringLiteral("Assets"));
    m_list->InsertColumn(0, QStringLiteral("Items"), CListModel::FormatLeft, 170);
    m_list->SetExtendedStyle(CAutoListCtrl::FullRowSelect);
    m_list->setFont(SharedLook::normalFont());
    QPalette palette = m_list->palette();
    palette.setColor(QPalette::Base, SharedLook::listBackground());
    m_list->setPalette(palette);
    m_list->SetImageList(smallImages());
    m_list->model()->SetRowNote([this](int row) { return rowNote(row); });

    m_description = new QPlainTextEdit(this);
    m_description->setObjectName(QStringLiteral("description"));
    m_description->setAccessibleName(QStringLiteral("Description of the selected asset"));
    m_description->setReadOnly(true);
    m_description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_description->setFont(SharedLook::normalFont());

    qint32 stored = 0;
    if (host.settings().ReadNumber(kFilterSetting, stored) && stored > 0)
        m_filter = stored;

    connect(m_title, &CLabel::clicked, this, &CInventoryView::ShowCategoryMenu);
    connect(m_corner, &CLabel::clicked, this, &CInventoryView::ShowCategoryMenu);
    auto *menuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_C), this);
    menuKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(menuKey, &QShortcut::activated, this, &CInventoryView::ShowCategoryMenu);

    connect(m_list, &CAutoListCtrl::selectedRowChanged, this, &CInventoryView::ViewSelected);
    connect(m_list, &CAutoListCtrl::rowDoubleClicked, this, &CInventoryView::EditSelected);
    connect(m_list, &CAutoListCtrl::deleteKeyPressed, this, &CInventoryView::DeleteSelected);
    connect(m_list, &CAutoListCtrl::contextMenuRequested, this,
            [this](std::optional<QPoint> globalPos) { this->host().ShowContextMenu(globalPos); });
    m_list->installEventFilter(this);
    setFocusProxy(m_list);
    setUpSearch();
}

void CInventoryView::Refresh(qint32 assetId)
{
    fillWhenShown([this, assetId] { fill(assetId); });
}

void CInventoryView::fill(qint32 assetId)
{
    showDescription(QString());
    m_shownId = 0;
    const qint32 homeId = host().currentHomeId();
    CADODataBase &db = host().database();
    QString where = sqlText("WHERE HomeId=%ld ", long(homeId));
    if (m_filter != 0) {
        const QString category =
            Lookups::lookUpValue(db, m_filter, QStringLiteral("Categories"),
                                 QStringLiteral("CategoryId"), QStringLiteral("Description"));
        m_title->setText(QStringLiteral("Home Inventory (") + category + QLatin1Char(')'));
        where += sqlText("AND CategoryId=%ld", long(m_filter));
    } else {
        m_title->setText(kAllTitle);
    }
    double total = 0.0;
    bool read = false;
    {
        // A large inventory takes seconds to read: the engine keeps a progress window alive.
        const Busy::Scope busy(QStringLiteral("Reading the inventory..."));
        const Busy::EngineProgress engine(db);
        // Which assets have attachments comes from the attachments' index alone: the files'
        // bytes, however many gigabytes, are never read for the list.
        m_marks = Attachments::marksByAsset(db, homeId);
        std::function<int(qint32, int)> marked;
        if (!m_marks.isEmpty())
            marked = [this](qint32 id, int image) {
                const auto found = m_marks.constFind(id);
                if (found == m_marks.constEnd())
                    return image;
                // A picture kept in the data file is a picture too.
                return (image == 0 && found->picture ? 1 : image) + kWithAttachments;
            };
        Lookups::fillList(db, *m_list->model(), QStringLiteral("Assets"), QStringLiteral("AssetId"),
                          assetId, where, QStringLiteral("CurrentValue, Picture2, CategoryId"),
                          &total, &read, marked);
    }
    m_total = total;
    m_readFailed = !read;
    m_keysReady = false;
    m_keysFailed = false;
    m_keepId = assetId;
    // The asset asked for (new, or just edited) is listed by the fill; when the words in the box
    // would hide it, the box is emptied rather than the asset hidden from the person who just
    // saved it.
    const bool asked = assetId > 0 && selectedId() == assetId;
    // Nothing listed, nothing to search: the failed read is said once, below.
    if (searching() && read) {
        applySearch(true);
        if (asked && selectedId() != assetId)
            m_search->clear();
    } else {
        updateMatchLine();
    }
    // The selection made by the filler may not have announced itself (same row index).
    ViewSelected();
    host().UpdateTodayLines();
    if (m_readFailed)
        DataProblem::readFailed(host().ownerWindow(), QStringLiteral("The inventory"), db);
}

void CInventoryView::showEvent(QShowEvent *event)
{
    const bool retry = m_readFailed && isFilled();
    CFormView::showEvent(event);
    if (retry)
        Refresh(m_keepId);
    else
        searchAgainIfStale(); // a location or category renamed while the view was hidden
}

void CInventoryView::ClearSearch()
{
    m_search->clear();
}

void CInventoryView::ShowAsset(qint32 assetId)
{
    CAsset asset(assetId);
    if (m_filter != 0 && asset.Load(host().database()) && asset.m_lCategoryId != m_filter) {
        m_filter = 0;
        host().settings().WriteNumber(kFilterSetting, 0);
    }
    m_search->clear();
    Refresh(assetId);
}

void CInventoryView::SetFilter(qint32 categoryId)
{
    if (categoryId == 0)
        m_title->setText(kAllTitle);
    if (categoryId == m_filter)
        return;
    m_filter = categoryId;
    host().settings().WriteNumber(kFilterSetting, categoryId);
    Refresh(0);
}

std::vector<CInventoryView::MenuEntry> CInventoryView::CategoryMenuEntries(bool *anyInUse)
{
    CADODataBase &db = host().database();
    const std::map<qint32, int> counts = CAsset::CountByCategory(db, host().currentHomeId());
    if (anyInUse)
        *anyInUse = !counts.empty();

    // The asset categories by name, as every category drop-down lists them.
    CComboModel categories;
    Lookups::fillCategoryCombo(db, categories, 0, Lookups::AssetCategory, false);
    std::vector<MenuEntry> entries;
    for (int i = 0; i < categories.GetCount(); ++i) {
        const qint32 id = categories.GetItemData(i);
        if (id == 0)
            continue; // the drop-down's "Please select..."
        const auto found = counts.find(id);
        const int count = found == counts.end() ? 0 : found->second;
        if (count == 0 && id != m_filter)
            continue;
        entries.push_back(
            { id, categories.GetLBText(i) + QStringLiteral(" (%1)").arg(count), id == m_filter });
    }
    return entries;
}

void CInventoryView::ShowCategoryMenu()
{
    if (host().currentHomeId() < 1)
        return;
    std::vector<MenuEntry> entries;
    bool anyInUse = false;
    {
        Ui::WaitCursor wait;
        entries = CategoryMenuEntries(&anyInUse);
    }

    delete m_menu;
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("categoryMenu"));
    m_menu->setTitle(QStringLiteral("Categories"));
    auto *group = new QActionGroup(m_menu);
    group->setExclusive(true);
    QAction *all = m_menu->addAction(QStringLiteral("&All Categories"));
    all->setCheckable(true);
    all->setChecked(m_filter == 0);
    all->setData(0);
    group->addAction(all);
    if (anyInUse || m_filter != 0)
        m_menu->addSeparator();
    for (const MenuEntry &entry : entries) {
        // The entry's text is the user's category name: "&" in it is a letter, not a mnemonic.
        QString text = entry.text;
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *action = m_menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(entry.checked);
        action->setData(entry.categoryId);
        group->addAction(action);
    }
    connect(group, &QActionGroup::triggered, this,
            [this](QAction *action) { SetFilter(action->data().toInt()); });

    const QPoint at(m_title->x() - 20, m_title->geometry().bottom() + 1);
    m_menu->popup(mapToGlobal(at));
}

void CInventoryView::showDescription(const QString &text)
{
    // The description's lines end in CR LF; the box wants plain line feeds.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_description->setPlainText(shown);
}

void CInventoryView::ViewSelected()
{
    qint32 id = 0;
    int row = -1;
    if (!Lookups::selectedRow(*m_list->model(), id, row)) {
        showDescription(QString());
        m_shownId = 0;
        return;
    }
    m_keepId = id;
    if (id == m_shownId)
        return;
    CAsset asset(id);
    if (!asset.Load(host().database()))
        return;
    showDescription(asset.DescriptionText());
    m_shownId = id;
}

void CInventoryView::EditSelected()
{
    qint32 id = 0;
    int row = -1;
    if (!Lookups::selectedRow(*m_list->model(), id, row))
        return;
    CAsset asset(id);
    CADODataBase &db = host().database();
    asset.Load(db);
    // The Attachments page saves at once: a cancelled sheet may still have changed the clip.
    const auto attachments = [&] {
        const std::vector<Attachments::Attachment> kept =
            Attachments::list(db, asset.m_lHomeId, id);
        const auto picture =
            std::find_if(kept.begin(), kept.end(), [](const auto &a) { return a.isPicture; });
        return std::pair(kept.size(), picture == kept.end() ? qint64(0) : picture->id);
    };
    const auto before = attachments();
    const bool saved = CAssetSheet::Edit(asset, db, host().ownerWindow());
    // Its Maintenance page saves plans (and may make tasks) whether the sheet was confirmed.
    host().PlansChanged();
    if (!saved) {
        if (attachments() != before)
            Refresh(id);
        // Cancelled, but the sheet's Categories button may have renamed what the search reads.
        searchAgainIfStale();
        return;
    }
    Refresh(asset.id());
    // Not listed after all (the list could not be read): nothing to describe.
    if (selectedId() != asset.id())
        return;
    showDescription(asset.DescriptionText());
    m_shownId = asset.id();
}

void CInventoryView::DeleteSelected()
{
    qint32 id = 0;
    int row = -1;
    if (!Lookups::selectedRow(*m_list->model(), id, row))
        return;
    const int answer =
        Ui::messageBox(this, QStringLiteral("This asset will be deleted. Continue?"),
                       Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Yes | Ui::No);
    if (answer != Ui::Yes)
        return;
    CADODataBase &db = host().database();
    bool deleted = false;
    {
        Ui::WaitCursor wait;
        deleted = CAsset(id).Delete(db);
    }
    if (!deleted) {
        // Show what the file holds rather than a row that may or may not be gone.
        Refresh(id);
        return;
    }
    m_list->DeleteItem(row);
    // Taken again from the file rather than by subtracting the deleted value: a difference of
    // doubles can leave a fraction of a cent that no asset has.
    m_total = HomeFigures::inventoryTotal(db, host().currentHomeId(), m_filter);
    updateMatchLine();
    ViewSelected();
    host().UpdateTodayLines();
}

void CInventoryView::OnContextNew()
{
    host().NewAsset();
}

void CInventoryView::OnContextDelete()
{
    DeleteSelected();
}

void CInventoryView::OnContextProperties()
{
    EditSelected();
}

bool CInventoryView::HasSelection() const
{
    qint32 id = 0;
    int row = -1;
    return Lookups::selectedRow(*m_list->model(), id, row);
}

void CInventoryView::Layout()
{
    const int w = width();
    const int h = height();
    const int titleHeight = m_title->sizeHint().height();
    const int titleLeft = kBesideCorner;
    // The search box sits at the right end of the title's row, so the list keeps its place.
    const int searchWidth = std::min(kSearchWidth, w / 2);
    const int searchLeft = w - searchWidth - 4;
    m_search->setGeometry(searchLeft, 1, searchWidth, kTitleRuleY - 2);
    m_title->setGeometry(titleLeft, std::max(0, (kTitleRuleY - titleHeight) / 2),
                         std::max(0, searchLeft - titleLeft - 8), titleHeight);
    placeCorner(*m_corner);
    // While a search is in force its line takes the bottom of the list's room.
    const int listHeight = std::max(0, h - kListBottomGap);
    const int lineHeight = m_matches->isVisibleTo(this) ? m_matches->sizeHint().height() : 0;
    m_list->setGeometry(0, kListTop, w, std::max(0, listHeight - lineHeight));
    m_matches->setGeometry(4, kListTop + listHeight - lineHeight, std::max(0, w - 8), lineHeight);
    m_description->setGeometry(2, h - kDescriptionHeight, std::max(0, w - 2), kDescriptionHeight);
}

void CInventoryView::paintEvent(QPaintEvent *event)
{
    CFormView::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    const int wide = std::max(2000, width());
    painter.drawLine(0, kTitleRuleY, wide, kTitleRuleY);
    painter.drawLine(0, height() - 66, wide, height() - 66);
    painter.drawLine(0, height() - 67, wide, height() - 67);
}

bool CInventoryView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_search && searchBoxEvent(event))
        return true;
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // Space opens the selected asset's sheet, as a double click does.
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            EditSelected();
            return true;
        }
        // Alt+C reaches the list itself when no shortcut took it first (a list may claim
        // letter keys for its type-ahead search).
        if (key->key() == Qt::Key_C && key->modifiers() == Qt::AltModifier) {
            ShowCategoryMenu();
            return true;
        }
    }
    return CFormView::eventFilter(watched, event);
}
