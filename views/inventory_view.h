#pragma once
// CInventoryView: the Home Inventory. The assets of the current home in one list (optionally
// those of one category, chosen from a menu that counts the assets per category), the selected
// asset's description below it, and New / Delete / Properties on assets. It keeps the value
// total of the listed assets. A search box narrows the list as the user types; the total, the
// filter and the Today view's lines take no notice of it.

#include "views/form_view.h"

#include "records/attachments.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPixmap>

#include <vector>

class CAutoListCtrl;
class CLabel;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;

class CInventoryView : public CFormView
{
    Q_OBJECT
public:
    explicit CInventoryView(ViewHost &host, QWidget *parent = nullptr);

    // Rebuilds the list for the current home and filter, selecting assetId when listed. While
    // the view is hidden this waits until it is next shown.
    void Refresh(qint32 assetId);

    // The category filter (0 = all categories), kept in the InventoryCategory setting.
    qint32 filter() const { return m_filter; }
    // Changing it stores it and lists that category's assets.
    void SetFilter(qint32 categoryId);

    // The CurrentValue of the listed assets added up in double precision.
    double inventoryTotal() const { return m_total; }
    // The last fill could not read the assets: the empty list and its total of 0 are no figures
    // of the home. The next showing of the view reads them again.
    bool readFailed() const { return m_readFailed; }
    // The asset whose description is shown (0 = none).
    qint32 shownAssetId() const { return m_shownId; }

    // One entry of the category menu after "All Categories": a category in use in the current
    // home, or the filter's own category, with its count.
    struct MenuEntry
    {
        qint32 categoryId = 0;
        QString text;
        bool checked = false;
    };
    // The entries the category menu lists now (counts read afresh); anyInUse tells whether any
    // asset of the home has a category.
    std::vector<MenuEntry> CategoryMenuEntries(bool *anyInUse = nullptr);
    // Builds and opens the category menu below the title.
    void ShowCategoryMenu();
    // The menu last opened; null before the first.
    QMenu *categoryMenu() const { return m_menu; }

    // The list's small images: no picture, picture, video title; then the same three with a
    // paper-clip, for assets that have attachments (kWithAttachments further on).
    static QList<QPixmap> smallImages();
    static constexpr int kWithAttachments = 3;
    // What a screen reader adds to a row's name: "3 attachments"; empty for none.
    QString rowNote(int row) const;
    // The corner icon that opens the category menu.

    CAutoListCtrl *list() const { return m_list; }
    CLabel *title() const { return m_title; }
    CLabel *cornerIcon() const { return m_corner; }
    QPlainTextEdit *descriptionBox() const { return m_description; }
    // The search box and the "12 of 4,310 assets" line under the list (hidden while the box
    // holds no word).
    QLineEdit *searchBox() const { return m_search; }
    QLabel *matchLine() const { return m_matches; }
    // Empties the search box: another home, or a data file replaced, starts with the whole list.
    void ClearSearch();

    // Lists assetId, selected: the search box is emptied, and the category filter too when the
    // asset is not of its category.
    void ShowAsset(qint32 assetId);

    // The actions on the selected asset.
    void ViewSelected();
    void EditSelected();
    void DeleteSelected();

    void Layout() override;
    void OnContextNew() override;
    void OnContextDelete() override;
    void OnContextProperties() override;
    bool HasSelection() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fill(qint32 assetId);
    void showDescription(const QString &text);
    // Search (inventory_search.cpp): keys read and folded once per fill, when the search is
    // first used; then each change of words narrows the list in memory.
    void setUpSearch();
    void prepareSearchKeys();
    // Whether the keys still hold what the file holds: every name they carry (the assets',
    // their locations' and categories') is as it was when they were read.
    bool keysCurrent() const;
    void searchAgainIfStale();
    void applySearch(bool afterFill);
    void updateMatchLine();
    bool searchBoxEvent(QEvent *event);
    bool searching() const;
    qint32 selectedId() const;

    CLabel *m_title = nullptr;
    CLabel *m_corner = nullptr;
    CAutoListCtrl *m_list = nullptr;
    QPlainTextEdit *m_description = nullptr;
    QLineEdit *m_search = nullptr;
    QLabel *m_matches = nullptr;
    QMenu *m_menu = nullptr;
    qint32 m_filter = 0;
    double m_total = 0.0;
    qint32 m_shownId = 0;
    bool m_readFailed = false;
    // The rows carry the keys of the last fill, read from the file with this stamp.
    bool m_keysReady = false;
    QByteArray m_keysStamp;
    // The keys could not be read; the search waits for the next keystroke to try again.
    bool m_keysFailed = false;
    // The asset to select again once a search lists it: the last one selected.
    qint32 m_keepId = 0;
    // The listed assets that have attachments, as the last fill found them.
    QHash<qint32, Attachments::Marks> m_marks;
};
