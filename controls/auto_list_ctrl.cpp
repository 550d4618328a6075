#include "controls/auto_list_ctrl.h"

#include <QContextMenuEvent>

#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QListView>
#include <QLocale>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <utility>

namespace {

const QColor kBlue(0, 0, 255);
const QColor kGrey(128, 128, 128);
#if defined(DOMELIO_HANDHELD)
const QColor kNegative(255, 0, 0); // the handheld marks done rows red in custom draw
#else
const QColor kNegative = kGrey;
#endif

// Owner drawing reads column 0 into a 260-character buffer: longer texts are cut.
constexpr int kOwnerDrawTextLimit = 259;
// Rows measured from the top when a column is sized to its contents (see contentsWidth).
constexpr int kSizingSampleRows = 256;

} // namespace

// Paints the cells: custom draw adjusts the style option (colours by the sign of the user value
// or for a heading, the small image), owner draw paints the cell itself (the Tasks view's look).
class CListDelegate : public QStyledItemDelegate
{
public:
    explicit CListDelegate(CAutoListCtrl *list)
        : QStyledItemDelegate(list)
        , m_list(list)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        if (m_list->m_ownerDraw)
            ownerPaint(painter, option, index);
        else
            QStyledItemDelegate::paint(painter, option, index);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (!m_list->m_ownerDraw)
            return QStyledItemDelegate::sizeHint(option, index);
        QFont font = option.font;
        font.setBold(true); // headings and plain rows share one row height
        const QFontMetrics fm(font);
        const QString text = index.data().toString();
        const int height = std::max(fm.height() + 2, 17); // a 15-pixel image at top + 1
        if (index.column() == 0)
            return { fm.horizontalAdvance(text.left(kOwnerDrawTextLimit))
                         + m_list->m_smallImageWidth + 3 + 18,
                     height };
        return { fm.horizontalAdvance(text) + 6, height };
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() == 0 && m_list->m_smallImageWidth > 0) {
            const QList<QPixmap> &images = m_list->m_imageLists[CAutoListCtrl::SmallImages];
            const int image = index.data(CListModel::ImageRole).toInt();
            option->features |= QStyleOptionViewItem::HasDecoration;
            option->decorationSize = images.first().deviceIndependentSize().toSize();
            option->icon = image >= 0 && image < images.size() ? QIcon(images[image]) : QIcon();
        }
        // Without full-row selection only the row's first cell shows the selection.
        if (!(m_list->m_extendedStyle & CAutoListCtrl::FullRowSelect) && index.column() > 0)
            option->state &= ~QStyle::State_Selected;
        const CAutoListCtrl::RowLook look = m_list->rowLook(index.row());
        if (look.text.isValid())
            option->palette.setColor(QPalette::Text, look.text);
        if (look.background.isValid())
            option->backgroundBrush = look.background;
    }

private:
    void ownerPaint(QPainter *painter, const QStyleOptionViewItem &option,
                    const QModelIndex &index) const
    {
        const int row = index.row(), col = index.column();
        const CAutoListCtrl::RowLook look = m_list->rowLook(row);
        QString text = index.data().toString();
        QFont font = option.font;
        font.setStrikeOut(look.struckOut);
        font.setBold(look.bold);
        QColor color = look.text;

        painter->save();
        if (look.background.isValid()) {
            painter->fillRect(option.rect, look.background);
        }
#if defined(DOMELIO_HANDHELD)
        if (m_list->GetItemData(row) == 0) {
            // A date heading: " <date>", and " (Today)" when it is today's date.
            const bool isToday = look.background == QColor(255, 0, 0);
            if (!text.isEmpty())
                text = QLatin1Char(' ') + text
                    + (isToday && col == 0 ? QStringLiteral(" (Today)") : QString());
        } else if (option.state & QStyle::State_Selected) {
            painter->fillRect(option.rect, option.palette.brush(QPalette::Highlight));
            color = option.palette.color(QPalette::HighlightedText);
        }
#endif
        painter->setFont(font);
        painter->setPen(color);
        if (col == 0) {
            const QRect item = option.rect;
            const int imageWidth = m_list->m_smallImageWidth;
            if (imageWidth > 0 && item.width() >= 2) {
                const QList<QPixmap> &images = m_list->m_imageLists[CAutoListCtrl::SmallImages];
                const int image = index.data(CListModel::ImageRole).toInt();
                if (image >= 0 && image < images.size())
                    painter->drawPixmap(QRect(item.left() + 3, item.top() + 1, 15, 15),
                                        images[image]);
            }
            const QRect label = item.adjusted(imageWidth, 0, 0, 0);
            painter->drawText(label.adjusted(3, 0, -18, 0),
                              Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine
                                  | Qt::TextDontClip,
                              text.left(kOwnerDrawTextLimit));
        } else if (!text.isEmpty()) {
            // The sub-item cursor starts 15 pixels left of column 0's right edge,
            // so every further cell sits 15 pixels left of its header section.
            const QRect cell = option.rect.translated(-15, 0).adjusted(3, 0, -3, 0);
            painter->drawText(cell, Qt::AlignCenter | Qt::TextSingleLine, text);
        }
        painter->restore();
    }

    CAutoListCtrl *m_list;
};

CAutoListCtrl::CAutoListCtrl(QWidget *parent, Options options)
    : QTreeView(parent)
    , m_model(new CListModel(this))
    , m_delegate(new CListDelegate(this))
    , m_ownerDraw(options.testFlag(OwnerDraw))
{
    setItemDelegate(m_delegate);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    // One row height for all rows: the view then lays out 100,000 rows without asking each.
    setUniformRowHeights(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(options.testFlag(SingleSelection) ? QAbstractItemView::SingleSelection
                                                       : QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHeaderHidden(options.testFlag(NoHeader));

    QTreeView::setModel(m_model);
    // The selection lives in the model, so the window-free operations see the user's clicks.
    QItemSelectionModel *created = QTreeView::selectionModel();
    setSelectionModel(m_model->GetSelectionModel());
    if (created != m_model->GetSelectionModel())
        delete created;

    QHeaderView *head = header();
    head->setStretchLastSection(false); // stretched by applyNaturalWidths, never below contents
    head->setSectionsClickable(true);
    head->setSectionsMovable(false);
    head->setMinimumSectionSize(0); // a column with an empty heading is hidden at width 0
    head->setSectionResizeMode(QHeaderView::Interactive);

    m_model->SetHeadingMeasurer([this](const QString &heading) { return headingWidth(heading); });

    connect(m_model, &CListModel::columnSizeRequested, this, &CAutoListCtrl::requestSizing);
    connect(m_model, &CListModel::ensureVisibleRequested, this, [this](int row) {
        // A hidden list has no viewport size to scroll in yet; it scrolls when shown.
        if (m_listMode)
            m_listView->scrollTo(m_model->index(row, 0));
        else if (isVisible())
            scrollTo(m_model->index(row, 0));
        else
            m_scrollOnShow = row;
    });
    connect(m_model, &CListModel::checkChanged, this, &CAutoListCtrl::itemCheckChanged);
    connect(m_model, &QAbstractItemModel::columnsInserted, this, &CAutoListCtrl::syncColumns);
    connect(m_model, &QAbstractItemModel::columnsRemoved, this, &CAutoListCtrl::syncColumns);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        syncColumns(); // columns may have come or gone inside a batch
        updateSortIndicator();
    });
    connect(head, &QHeaderView::sectionClicked, this, &CAutoListCtrl::SortOnColumn);
    connect(head, &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (!m_applyingWidths && col >= 0 && col < int(m_natural.size()))
            m_natural[col] = size; // the user dragged a divider
    });
    connect(this, &QAbstractItemView::clicked, this,
            [this](const QModelIndex &index) { emit rowClicked(index.row()); });
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { emit rowDoubleClicked(index.row()); });
    connect(this, &QAbstractItemView::activated, this,
            [this](const QModelIndex &index) { emit rowActivated(index.row()); });
    connect(m_model->GetSelectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { emit selectedRowChanged(GetCurSel()); });
}

CAutoListCtrl::~CAutoListCtrl() = default;

int CAutoListCtrl::InsertColumn(int col, const QString &heading, int format, int width, int subItem)
{
    return m_model->InsertColumn(col, heading, format, width, subItem);
}

void CAutoListCtrl::SortOnColumn(int col)
{
    m_model->SortOnColumn(col);
    updateSortIndicator();
}

void CAutoListCtrl::updateSortIndicator()
{
    const int col = m_model->GetSortColumn();
    if (col < 0) {
        header()->setSortIndicatorShown(false);
        return;
    }
    header()->setSortIndicatorShown(true);
    header()->setSortIndicator(
        col, m_model->IsDisplayedAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
}

QList<QPixmap> CAutoListCtrl::SetImageList(const QList<QPixmap> &images, int which)
{
    QList<QPixmap> previous = std::exchange(m_imageLists[which], images);
    if (which == SmallImages) {
        m_smallImageWidth =
            images.isEmpty() ? 0 : int(images.first().deviceIndependentSize().width());
        if (!images.isEmpty())
            setIconSize(images.first().deviceIndependentSize().toSize());
        viewport()->update();
    }
    return previous;
}

QList<QPixmap> CAutoListCtrl::GetImageList(int which) const
{
    const auto found = m_imageLists.find(which);
    return found == m_imageLists.end() ? QList<QPixmap>() : found->second;
}

bool CAutoListCtrl::SetExtendedStyle(int style)
{
    m_extendedStyle = style;
    m_model->SetCheckBoxes(style & CheckBoxes);
    setAllColumnsShowFocus(style & FullRowSelect);
    viewport()->update();
    return true;
}

void CAutoListCtrl::SetRedraw(bool redraw)
{
    if (redraw == !m_redrawOff)
        return;
    m_redrawOff = !redraw;
    if (!redraw) {
        setUpdatesEnabled(false);
        m_model->BeginBatch();
        return;
    }
    m_model->EndBatch();
    flushColumnSizing();
    setUpdatesEnabled(true);
    viewport()->update();
}

void CAutoListCtrl::SetOwnerDraw(bool on)
{
    m_ownerDraw = on;
    // Row heights come from the delegate's size hint, which differs between the two modes.
    doItemsLayout();
    viewport()->update();
}

void CAutoListCtrl::SetSingleSelection(bool single)
{
    setSelectionMode(single ? QAbstractItemView::SingleSelection
                            : QAbstractItemView::ExtendedSelection);
}

void CAutoListCtrl::SetAlternateRowColors(bool on)
{
    m_alternateRows = on;
    viewport()->update();
}

QDate CAutoListCtrl::today() const
{
    return m_today.isValid() ? m_today : QDate::currentDate();
}

CAutoListCtrl::RowLook CAutoListCtrl::rowLook(int row) const
{
    RowLook look;
    const qint32 value = GetItemData(row);
    if (m_ownerDraw) {
#if defined(DOMELIO_HANDHELD)
        if (value == 0) {
            const bool isToday =
                GetItemText(row, 0) == QLocale().toString(today(), QLocale::LongFormat);
            look.text = Qt::white;
            look.background = isToday ? QColor(255, 0, 0) : QColor(Qt::black);
            look.bold = true;
            return look;
        }
#endif
        look.text = value < 0 ? kGrey : kBlue;
        look.struckOut = value < 0;
        return look;
    }
    if (m_model->IsItemHeading(row)) {
        look.text = Qt::white;
        look.background = Qt::black;
    } else if (value < 0) {
        look.text = kNegative;
    }
    if (m_alternateRows && row % 2 == 0)
        look.background = alternateRowColor();
    return look;
}

// --- column sizing -----------------------------------------------------------------------------

int CAutoListCtrl::headingWidth(const QString &heading) const
{
    if (heading.isEmpty())
        return 0;
    QStyleOptionHeader option;
    option.initFrom(header());
    option.text = heading;
    return style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header()).width();
}

// Sizing to contents must stay cheap with 100,000 rows, so it measures a bounded sample with
// the fonts: the rows in view, the first kSizingSampleRows rows, and the row whose text has the
// most characters (found by the model from the text lengths alone, without fonts, and cached).
// Lists with a few hundred rows are measured completely; in longer ones a row that is wider but
// not longer than the sample can be cut, which the user can widen by dragging the divider.
int CAutoListCtrl::contentsWidth(int col) const
{
    const int count = GetItemCount();
    if (count == 0)
        return 0;
    std::vector<int> rows;
    for (int r = 0; r < std::min(count, kSizingSampleRows); ++r)
        rows.push_back(r);
    if (viewport()->height() > 0) {
        const QModelIndex top = indexAt(QPoint(1, 1));
        if (top.isValid()) {
            const int rowHeight = std::max(1, this->rowHeight(top));
            const int last = std::min(count, top.row() + viewport()->height() / rowHeight + 2);
            for (int r = std::max(top.row(), kSizingSampleRows); r < last; ++r)
                rows.push_back(r);
        }
    }
    const int longest = m_model->GetLongestTextRow(col);
    if (longest >= kSizingSampleRows)
        rows.push_back(longest);

    QStyleOptionViewItem option;
    initViewItemOption(&option);
    int width = 0;
    for (int r : rows)
        width = std::max(width, m_delegate->sizeHint(option, m_model->index(r, col)).width());
    return width;
}

void CAutoListCtrl::requestSizing(int col, CListModel::Sizing sizing)
{
    m_pendingSizing[col] = sizing;
    if (m_sizingQueued || m_redrawOff)
        return;
    // Coalesced: a fill that sets thousands of cells without a batch still sizes each column once.
    m_sizingQueued = true;
    QMetaObject::invokeMethod(this, &CAutoListCtrl::flushColumnSizing, Qt::QueuedConnection);
}

void CAutoListCtrl::flushColumnSizing()
{
    m_sizingQueued = false;
    const auto pending = std::exchange(m_pendingSizing, {});
    if (pending.empty())
        return;
    for (const auto &[col, sizing] : pending) {
        if (col < 0 || col >= GetColumnCount() || col >= int(m_natural.size()))
            continue;
        const QString heading = m_model->GetColumnText(col);
        int width = 0;
        if (m_model->IsColumnHidden(col)) {
            width = 0; // hidden by an empty heading: new cells do not show it again
        } else if (sizing == CListModel::Sizing::HeadingOnly) {
            width = heading.isEmpty() ? 0 : std::max(headingWidth(heading), GetHeaderWidth(col));
        } else {
            width = headingWidth(heading) + (col == 0 ? m_smallImageWidth : 0);
            width = std::max(width, contentsWidth(col));
        }
        m_natural[col] = width;
    }
    applyNaturalWidths();
}

void CAutoListCtrl::syncColumns()
{
    // Widths stay with their columns; a new column starts at its minimum width.
    std::map<quint32, int> known;
    for (size_t i = 0; i < m_serials.size(); ++i)
        known[m_serials[i]] = m_natural[i];
    const int count = GetColumnCount();
    m_serials.resize(count);
    m_natural.resize(count);
    for (int c = 0; c < count; ++c) {
        m_serials[c] = m_model->GetColumnSerial(c);
        const auto found = known.find(m_serials[c]);
        m_natural[c] = found != known.end() ? found->second : std::max(0, GetHeaderWidth(c));
    }
    applyNaturalWidths();
}

void CAutoListCtrl::applyNaturalWidths()
{
    const int count = std::min<int>(GetColumnCount(), int(m_natural.size()));
    if (count == 0)
        return;
    // The last column is stretched to the control's width, so a one-column list spans it.
    int others = 0;
    for (int c = 0; c + 1 < count; ++c)
        others += m_natural[c];
    m_applyingWidths = true;
    for (int c = 0; c < count; ++c) {
        int width = m_natural[c];
        if (c == count - 1 && width > 0)
            width = std::max(width, viewport()->width() - others);
        if (header()->sectionSize(c) != width)
            header()->resizeSection(c, width);
    }
    m_applyingWidths = false;
}

void CAutoListCtrl::SetListMode(bool on, int columnWidth)
{
    if (on && !m_listView) {
        // A second view over the same model and selection, laid over the report.
        m_listView = new QListView(this);
        m_listView->setModel(m_model);
        QItemSelectionModel *created = m_listView->selectionModel();
        m_listView->setSelectionModel(m_model->GetSelectionModel());
        if (created != m_model->GetSelectionModel())
            delete created;
        m_listView->setItemDelegate(m_delegate);
        m_listView->setFlow(QListView::TopToBottom);
        m_listView->setWrapping(true);
        m_listView->setResizeMode(QListView::Adjust);
        m_listView->setUniformItemSizes(true);
        m_listView->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_listView->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_listView->installEventFilter(this);
        connect(m_listView, &QAbstractItemView::clicked, this,
                [this](const QModelIndex &index) { emit rowClicked(index.row()); });
        connect(m_listView, &QAbstractItemView::doubleClicked, this,
                [this](const QModelIndex &index) { emit rowDoubleClicked(index.row()); });
        connect(m_listView, &QAbstractItemView::activated, this,
                [this](const QModelIndex &index) { emit rowActivated(index.row()); });
    }
    m_listMode = on;
    if (!m_listView)
        return;
    if (on) {
        m_listView->setSelectionMode(selectionMode());
        const int rowHeight = std::max(fontMetrics().height() + 4, iconSize().height() + 2);
        m_listView->setGridSize(QSize(std::max(1, columnWidth), rowHeight));
        m_listView->setGeometry(rect());
        m_listView->raise();
        setFocusProxy(m_listView);
    } else {
        setFocusProxy(nullptr);
    }
    m_listView->setVisible(on);
}

void CAutoListCtrl::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() == QContextMenuEvent::Keyboard)
        emit contextMenuRequested(std::nullopt);
    else
        emit contextMenuRequested(event->globalPos());
    event->accept();
}

bool CAutoListCtrl::eventFilter(QObject *watched, QEvent *event)
{
    // The list-mode view's menu requests reach it unhandled from its viewport.
    if (watched == m_listView && event->type() == QEvent::ContextMenu) {
        contextMenuEvent(static_cast<QContextMenuEvent *>(event));
        return true;
    }
    if (watched == m_listView && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            emit deleteKeyPressed();
            return true;
        }
    }
    return QTreeView::eventFilter(watched, event);
}

int CAutoListCtrl::GetColumnWidth(int col)
{
    if (col < 0 || col >= GetColumnCount())
        return -1;
    flushColumnSizing();
    return header()->sectionSize(col);
}

bool CAutoListCtrl::SetColumnWidth(int col, int width)
{
    if (col < 0 || col >= int(m_natural.size()) || width < 0)
        return false;
    m_natural[col] = width;
    applyNaturalWidths();
    return true;
}

void CAutoListCtrl::SetMinColumnWidth(int col, int width)
{
    if (col < 0 || col >= int(m_natural.size()))
        return;
    if (col == 0)
        width += m_smallImageWidth;
    if (m_natural[col] < width) {
        m_natural[col] = width;
        applyNaturalWidths();
    }
}

int CAutoListCtrl::HitTest(const QPoint &viewportPos) const
{
    const QModelIndex index = indexAt(viewportPos);
    return index.isValid() ? index.row() : -1;
}

// --- events ------------------------------------------------------------------------------------

void CAutoListCtrl::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        emit deleteKeyPressed();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

QModelIndex CAutoListCtrl::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex from = currentIndex();
    const QModelIndex to = QTreeView::moveCursor(action, modifiers);
    if (!to.isValid() || !m_model->IsItemHeading(to.row()))
        return to;
    // A heading is no row to stand on: the cursor goes on past it the way it was moving, or, with
    // nothing but headings that way (Home, Up from the first row), to the nearest row back.
    const int way = from.isValid() && to.row() < from.row() ? -1 : 1;
    for (int step : { way, -way }) {
        for (int row = to.row() + step; row >= 0 && row < m_model->GetItemCount(); row += step) {
            if (!m_model->IsItemHeading(row))
                return m_model->index(row, to.column());
        }
    }
    return from;
}

void CAutoListCtrl::resizeEvent(QResizeEvent *event)
{
    QTreeView::resizeEvent(event);
    applyNaturalWidths();
    if (m_listView)
        m_listView->setGeometry(rect());
}

void CAutoListCtrl::showEvent(QShowEvent *event)
{
    QTreeView::showEvent(event);
    applyNaturalWidths();
    if (m_scrollOnShow >= 0 && m_scrollOnShow < GetItemCount())
        scrollTo(m_model->index(m_scrollOnShow, 0));
    m_scrollOnShow = -1;
}

void CAutoListCtrl::drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                            const QModelIndex &index) const
{
    if (!m_ownerDraw) {
        QTreeView::drawRow(painter, option, index);
        return;
    }
    // Owner draw paints the cells only: no row background, selection or focus rectangle, so the
    // list's own background shows through (the handheld build highlights selected rows itself).
    QStyleOptionViewItem row = option;
    row.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    if (m_model->GetSelectionModel()->isSelected(m_model->index(index.row(), 0)))
        row.state |= QStyle::State_Selected;
    const QHeaderView *head = header();
    for (int visual = 0; visual < head->count(); ++visual) {
        const int col = head->logicalIndex(visual);
        if (head->isSectionHidden(col) || (col > 0 && head->sectionSize(col) <= 0))
            continue;
        QStyleOptionViewItem cell = row;
        cell.rect = QRect(head->sectionViewportPosition(col), option.rect.top(),
                          head->sectionSize(col), option.rect.height());
        m_delegate->paint(painter, cell, m_model->index(index.row(), col));
    }
}
