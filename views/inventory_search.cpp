// The Home Inventory's search: a box above the list that narrows it to the assets holding every
// typed word in any of their texts, ignoring case and accents. The texts are read and folded
// once per fill, the first time the search is used; each keystroke then works in memory
// (CListModel sets the other rows aside), so it stays within a frame for 100,000 assets.
#include "views/inventory_view.h"

#include "controls/auto_list_ctrl.h"
#include "db/lookups.h"
#include "format/display_text.h"
#include "format/search_text.h"
#include "records/asset_search.h"
#include "records/home_figures.h"
#include "records/label_code.h"
#include "widgets/data_problem.h"
#include "widgets/shared_look.h"
#include "widgets/ui.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>

void CInventoryView::setUpSearch()
{
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("search"));
    m_search->setAccessibleName(QStringLiteral("Search the inventory"));
    m_search->setPlaceholderText(QStringLiteral("Search (Ctrl+F)"));
    m_search->setToolTip(
        QStringLiteral("Lists the assets whose texts hold every word typed here (Ctrl+F); "
                       "Escape clears it"));
    m_search->setFont(SharedLook::normalFont());
    m_search->installEventFilter(this);

    m_matches = new QLabel(this);
    m_matches->setObjectName(QStringLiteral("matches"));
    m_matches->setFont(SharedLook::normalFont());
    m_matches->hide();

    // The box comes before the list when tabbing through the view.
    setTabOrder(m_search, m_list);
    setTabOrder(m_list, m_description);

    auto *find = new QShortcut(QKeySequence::Find, this);
    find->setContext(Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, this, [this] {
        m_search->setFocus(Qt::ShortcutFocusReason);
        m_search->selectAll();
    });
    connect(m_search, &QLineEdit::textChanged, this, [this] { applySearch(false); });
}

bool CInventoryView::searchBoxEvent(QEvent *event)
{
    // Reading the texts takes a moment with a large inventory: it is done as the box takes the
    // focus, so that no keystroke waits for it.
    if (event->type() == QEvent::FocusIn) {
        prepareSearchKeys();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() != Qt::NoModifier && key->modifiers() != Qt::KeypadModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_Escape:
        if (m_search->text().isEmpty())
            return false;
        m_search->clear();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A scanner types a label's code and Enter: the frame shows what the label is on.
        if (LabelCode::parse(m_search->text())) {
            const QString typed = m_search->text();
            m_search->clear();
            if (host().OpenLabelCode(typed))
                return true;
        }
        [[fallthrough]];
    case Qt::Key_Down:
        // On to the list, at its first row when none is selected.
        if (m_list->GetItemCount() > 0 && m_list->GetCurSel() < 0) {
            m_list->SetCurSel(0);
            m_list->model()->GetSelectionModel()->setCurrentIndex(m_list->model()->index(0, 0),
                                                                  QItemSelectionModel::NoUpdate);
        }
        m_list->setFocus(Qt::TabFocusReason);
        return true;
    default:
        return false;
    }
}

bool CInventoryView::searching() const
{
    return !m_search->text().trimmed().isEmpty();
}

qint32 CInventoryView::selectedId() const
{
    return Lookups::selectedId(*m_list->model());
}

bool CInventoryView::keysCurrent() const
{
    // A file that cannot be stamped is taken as unchanged: reading every asset's texts at each
    // keystroke would cost more than a frame.
    return m_keysReady
        && (m_keysStamp.isEmpty() || HomeFigures::fileStamp(host().database()) == m_keysStamp);
}

void CInventoryView::searchAgainIfStale()
{
    if (searching() && m_keysReady && !keysCurrent())
        applySearch(false);
}

void CInventoryView::prepareSearchKeys()
{
    if ((m_keysReady && keysCurrent()) || !isFilled())
        return;
    CListModel &model = *m_list->model();
    bool read = false;
    QHash<qint32, QByteArray> keys;
    {
        Ui::WaitCursor wait;
        // Stamped before the read: a change made meanwhile reads them again next time.
        m_keysStamp = HomeFigures::fileStamp(host().database());
        keys = AssetSearch::keys(host().database(), host().currentHomeId(), m_filter, &read);
    }
    if (!read) {
        m_keysReady = false;
        // Said once, not at every keystroke that tries again; the line under the list says it
        // for as long as it lasts.
        if (!m_keysFailed)
            DataProblem::readFailed(host().ownerWindow(), QStringLiteral("The inventory's texts"),
                                    host().database());
        m_keysFailed = true;
        return;
    }
    m_keysFailed = false;
    // Keys go to the rows as the fill left them, every one listed.
    model.SetFilterKeys([&](int row) { return keys.value(model.GetItemData(row)); });
    m_keysReady = true;
}

void CInventoryView::applySearch(bool afterFill)
{
    CListModel &model = *m_list->model();
    const QList<QByteArray> words = SearchText::words(m_search->text());
    // A blank typed between words changes nothing, unless the names the keys hold have changed
    // since (a location renamed in the Locations view, a category in an asset sheet).
    if (!afterFill && words == model.GetFilterWords() && (words.isEmpty() || keysCurrent()))
        return;
    if (!words.isEmpty()) {
        prepareSearchKeys();
        // Without the texts every asset would seem to miss the words: the list stays whole
        // until a keystroke reads them.
        if (!m_keysReady) {
            updateMatchLine();
            return;
        }
    }
    if (const qint32 selected = selectedId())
        m_keepId = selected;
    model.SetFilterWords(words);

    // The asset selected last is selected again whenever the search lists it.
    int keep = -1;
    for (int row = 0; m_keepId != 0 && row < model.GetItemCount(); ++row) {
        if (model.GetItemData(row) == m_keepId) {
            keep = row;
            break;
        }
    }
    if (keep >= 0) {
        model.SetCurSel(keep);
        model.GetSelectionModel()->setCurrentIndex(model.index(keep, 0),
                                                   QItemSelectionModel::NoUpdate);
        model.EnsureVisible(keep);
    } else {
        m_list->scrollToTop();
    }
    updateMatchLine();
    if (!afterFill)
        ViewSelected();
}

void CInventoryView::updateMatchLine()
{
    const CListModel &model = *m_list->model();
    const bool failed = m_keysFailed && searching();
    const bool show = failed || model.IsFiltered();
    if (failed) {
        m_matches->setText(
            QStringLiteral("The inventory could not be searched: its texts could not be read "
                           "from the data file. Type on to try again."));
    } else if (show) {
        const int total = model.GetUnfilteredCount();
        m_matches->setText(
            QStringLiteral("%1 of %2 %3")
                .arg(numberText(float(model.GetItemCount()), false, false),
                     numberText(float(total), false, false),
                     total == 1 ? QStringLiteral("asset") : QStringLiteral("assets")));
    }
    // The count is the box's description too, so that a screen reader says it as the search
    // narrows the list.
    m_search->setAccessibleDescription(show ? m_matches->text() : QString());
    if (show != m_matches->isVisibleTo(this)) {
        m_matches->setVisible(show);
        Layout();
    }
}
