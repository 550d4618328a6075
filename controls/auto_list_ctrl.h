#pragma once
// CAutoListCtrl: the program's one list control, a report-style tree view over the CListModel it
// owns. It offers the list operations under their exported names, sorts on a header click,
// sizes its columns to heading and contents, and colours (custom draw) or paints (owner draw)
// each row by the sign of its user value, or as a heading. Compiled into Home and, with
// DOMELIO_HANDHELD, into the Amortix library from these same sources.

#include "controls/list_model.h"

#include <QColor>
#include <QDate>
#include <QList>
#include <QPixmap>
#include <QTreeView>

#include <map>
#include <optional>
#include <vector>

class CListDelegate;
class QListView;

class CAutoListCtrl : public QTreeView
{
    Q_OBJECT

public:
    // Extended style bits, with the values of the list-view styles (LVS_EX_*).
    enum ExtendedStyle { CheckBoxes = 0x04, FullRowSelect = 0x20 };
    // Which image list SetImageList attaches (LVSIL_*); only the small one is drawn.
    enum ImageListKind { NormalImages = 0, SmallImages = 1, StateImages = 2 };
    // Creation styles.
    enum Option {
        NoOptions = 0,
        OwnerDraw = 0x1, // rows painted by the owner-draw rules (the Tasks view)
        NoHeader = 0x2, // no column header
        SingleSelection = 0x4, // at most one selected row
    };
    Q_DECLARE_FLAGS(Options, Option)

    // The look a row gets from the drawing rules; an invalid colour means the list's default.
    struct RowLook
    {
        QColor text;
        QColor background;
        bool struckOut = false;
        bool bold = false;
    };

    explicit CAutoListCtrl(QWidget *parent = nullptr, Options options = NoOptions);
    ~CAutoListCtrl() override;

    CListModel *model() const { return m_model; }

    // --- the exported list operations (see CListModel for their rules) ------------------
    int InsertColumn(int col, const QString &heading, int format = CListModel::FormatLeft,
                     int width = -1, int subItem = -1);
    bool DeleteColumn(int col) { return m_model->DeleteColumn(col); }
    int InsertItem(int row, const QString &text, int image = -1)
    {
        return m_model->InsertItem(row, text, image);
    }
    bool SetItemText(int row, int col, const QString &text)
    {
        return m_model->SetItemText(row, col, text);
    }
    QString GetItemText(int row, int col) const { return m_model->GetItemText(row, col); }
    bool SetItemData(int row, qint32 value) { return m_model->SetItemData(row, value); }
    qint32 GetItemData(int row) const { return m_model->GetItemData(row); }
    bool SetItemHeading(int row, bool heading) { return m_model->SetItemHeading(row, heading); }
    bool IsItemHeading(int row) const { return m_model->IsItemHeading(row); }
    bool SetItemImage(int row, int image) { return m_model->SetItemImage(row, image); }
    int GetItemImage(int row) const { return m_model->GetItemImage(row); }
    bool DeleteItem(int row) { return m_model->DeleteItem(row); }
    bool DeleteAllItems() { return m_model->DeleteAllItems(); }
    int GetItemCount() const { return m_model->GetItemCount(); }
    bool SetColumnType(int col, int type)
    {
        return m_model->SetColumnType(col, CListModel::ColumnType(type));
    }
    int GetColumnType(int col) const { return m_model->GetColumnType(col); }
    void SortOnColumn(int col); // also shows the header's sort indicator
    int GetSortColumn() const { return m_model->GetSortColumn(); }
    bool IsSortAscending() const { return m_model->IsSortAscending(); }
    int GetColumnCount() const { return m_model->GetColumnCount(); }
    int GetHeaderWidth(int col) const { return m_model->GetHeaderWidth(col); }
    bool SetColumnText(int col, const QString &heading)
    {
        return m_model->SetColumnText(col, heading);
    }
    int GetSelectedItems(int max, int *out) const { return m_model->GetSelectedItems(max, out); }
    int GetCurSel() const { return m_model->GetCurSel(); }
    int SetCurSel(int row) { return m_model->SetCurSel(row); }
    void EnsureVisible(int row) { m_model->EnsureVisible(row); }
    bool SetCheck(int row, bool checked) { return m_model->SetCheck(row, checked); }
    bool GetCheck(int row) const { return m_model->GetCheck(row); }

    // Attaches an image list; returns the one attached before. The small list's image 0 gives
    // the small-image width that column 0 is widened by.
    QList<QPixmap> SetImageList(const QList<QPixmap> &images, int which = SmallImages);
    QList<QPixmap> GetImageList(int which = SmallImages) const;
    int GetSmallImageWidth() const { return m_smallImageWidth; }
    bool SetExtendedStyle(int style);
    int GetExtendedStyle() const { return m_extendedStyle; }
    // false: stop redrawing and gather every change into one model reset; true: resume,
    // re-size the columns and repaint (SetRedraw around a fill).
    void SetRedraw(bool redraw);

    // --- Qt-side settings ------------------------------------------------------------------
    void SetOwnerDraw(bool on);
    bool IsOwnerDraw() const { return m_ownerDraw; }
    void SetHeaderVisible(bool visible) { setHeaderHidden(!visible); }
    void SetSingleSelection(bool single);
    // Even rows (0, 2, 4...) take the alternate-row colour in custom draw.
    void SetAlternateRowColors(bool on);
    bool HasAlternateRowColors() const { return m_alternateRows; }
    static QColor alternateRowColor() { return QColor(206, 239, 165); }
    // The date the handheld owner draw compares its heading rows with (invalid = today).
    void SetToday(const QDate &today) { m_today = today; }

    // List mode: the rows' first texts flow down and then into further columns of the given
    // width (the list view style); the report with its header returns when off.
    void SetListMode(bool on, int columnWidth = 150);
    bool IsListMode() const { return m_listMode; }
    QListView *listModeView() const { return m_listView; }

    // Current width of a column in pixels (after any pending re-sizing), -1 outside the table.
    int GetColumnWidth(int col);
    bool SetColumnWidth(int col, int width);
    // Applies the re-sizing that model changes requested; runs by itself after the changes.
    void flushColumnSizing();
    // The row under a point of the viewport, or -1.
    int HitTest(const QPoint &viewportPos) const;

    RowLook rowLook(int row) const;

signals:
    void rowClicked(int row);
    void rowDoubleClicked(int row);
    void rowActivated(int row);
    void deleteKeyPressed();
    // The context menu asked for: at the pointer, or with no position when it came from the
    // keyboard (the menu key or Shift+F10), so the owner can place it itself.
    void contextMenuRequested(std::optional<QPoint> globalPos);
    void itemCheckChanged(int row, bool checked);
    void selectedRowChanged(int row); // the first selected row (or -1) after a change

protected:
    // Widens a column to width (+ the small-image width for column 0) if it is narrower.
    void SetMinColumnWidth(int col, int width);

    void keyPressEvent(QKeyEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                 const QModelIndex &index) const override;

private:
    friend class CListDelegate;

    int headingWidth(const QString &heading) const;
    int contentsWidth(int col) const;
    void requestSizing(int col, CListModel::Sizing sizing);
    void applyNaturalWidths();
    void syncColumns();
    void updateSortIndicator();
    QDate today() const;

    CListModel *m_model = nullptr;
    CListDelegate *m_delegate = nullptr;
    std::map<int, QList<QPixmap>> m_imageLists;
    int m_smallImageWidth = 0;
    int m_extendedStyle = 0;
    bool m_ownerDraw = false;
    bool m_alternateRows = false;
    bool m_redrawOff = false;
    QDate m_today;
    int m_scrollOnShow = -1; // EnsureVisible before the list was shown
    QListView *m_listView = nullptr; // created by the first SetListMode(true)
    bool m_listMode = false;

    // Natural widths (what sizing gave each column); the last column is shown stretched to the
    // control's width when that is wider.
    std::vector<int> m_natural;
    std::vector<quint32> m_serials; // the model's column serials, beside m_natural
    std::map<int, CListModel::Sizing> m_pendingSizing;
    bool m_sizingQueued = false;
    bool m_applyingWidths = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(CAutoListCtrl::Options)
