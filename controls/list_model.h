#pragma once
// CListModel: the plain-data half of the original's sortable list control (CAutoListCtrl):
// columns, row records, the sort state and the comparison rules. Its operations carry the names
// of the control's exported ones (GetItemCount, SetColumnType...), most of which the control
// hands on to it. QtCore only, so every rule is testable without a window; the widget in
// auto_list_ctrl.h draws it and supplies what needs fonts (text widths).

#include <QAbstractTableModel>
#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QItemSelectionModel;

class CListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // Extra data roles; UserRole carries the row's user value in every column.
    enum Role {
        ImageRole = Qt::UserRole + 1, // small-image index of the row (column 0), -1 = none
        ColumnTypeRole, // header data: comparison type of the column
        MinWidthRole, // header data: minimum width of the column
    };
    // Column formats (the values callers pass).
    enum Format { FormatLeft = 0, FormatRight = 1, FormatCenter = 2 };
    // Comparison types (SetColumnType). The exported control passes them on as plain numbers,
    // so the type is wide enough for any int and SetColumnType refuses one outside the four.
    enum ColumnType : int {
        NoColumnType = -1, // what GetColumnType says outside the table
        TypeText = 0,
        TypeNumber = 1,
        TypeSize = 2,
        TypeDate = 3
    };
    // How the widget should re-size a column (columnSizeRequested).
    enum class Sizing {
        HeadingOnly, // fit the heading, not below the minimum width; 0 when the heading is empty
        HeadingAndContents, // fit the heading and the cells (+ small-image width for column 0)
    };

    explicit CListModel(QObject *parent = nullptr);
    ~CListModel() override;

    // --- columns ---------------------------------------------------------------------------
    // col -1 (or >= count) appends. width -1 = size to the heading (through the text measurer).
    // Returns the new column's index. Inserting before existing columns shifts their texts,
    // minimum widths and types with them.
    int InsertColumn(int col, const QString &heading, int format = FormatLeft, int width = -1,
                     int subItem = -1);
    bool DeleteColumn(int col);
    int GetColumnCount() const { return int(m_columns.size()); }
    int GetHeaderWidth(int col) const; // the minimum width table; -1 outside the table
    // Empty text hides the column (minimum 0, widget width 0); other text re-sizes it to the
    // heading, not below its minimum.
    bool SetColumnText(int col, const QString &heading);
    QString GetColumnText(int col) const;
    // True from SetColumnText(col, "") until the column gets a heading again; sizing to the
    // contents leaves such a column hidden.
    bool IsColumnHidden(int col) const;
    int GetColumnFormat(int col) const;
    bool SetColumnType(int col, ColumnType type); // false for a column or type out of range
    ColumnType GetColumnType(int col) const; // NoColumnType outside the table
    // Used by the widget's SetMinColumnWidth; returns false outside the table.
    bool SetMinWidth(int col, int width);
    // A number that stays with a column while others are inserted or deleted before it (the
    // widget keeps its widths by it across a batch reset); 0 outside the table.
    quint32 GetColumnSerial(int col) const;

    // --- rows ------------------------------------------------------------------------------
    // row -1 or >= count appends; returns the row index.
    int InsertItem(int row, const QString &text, int image = -1);
    bool SetItemText(int row, int col, const QString &text);
    QString GetItemText(int row, int col) const;
    bool SetItemData(int row, qint32 value);
    qint32 GetItemData(int row) const; // 0 for a row that does not exist
    // A heading row titles the rows under it: drawn white on black, never selected or ticked,
    // and read as a heading. A row is one only when set so, whatever its user value.
    bool SetItemHeading(int row, bool heading);
    bool IsItemHeading(int row) const;
    bool SetItemImage(int row, int image);
    int GetItemImage(int row) const; // -1 for a row that does not exist
    bool DeleteItem(int row);
    bool DeleteAllItems();
    int GetItemCount() const { return int(IsFiltered() ? m_listed.size() : m_rows.size()); }

    // Check boxes (the widget's CheckBoxes extended style turns them on).
    void SetCheckBoxes(bool on);
    bool HasCheckBoxes() const { return m_checkBoxes; }
    bool SetCheck(int row, bool checked);
    bool GetCheck(int row) const;

    // --- sorting ---------------------------------------------------------------------------
    // A new column sets the direction flag to 1, the same column flips it; -1 does nothing.
    void SortOnColumn(int col);
    int GetSortColumn() const { return m_sortColumn; }
    bool IsSortAscending() const { return m_sortFlag; } // the direction flag (1 after a new column)
    // True when the rows currently run in ascending order of the sort column's values (for the
    // header's indicator): the flag's meaning is reversed for the two number types.
    bool IsDisplayedAscending() const;
    // Dates (type 3) are read in this locale; defaults to the user's (QLocale()).
    void SetDateLocale(const QLocale &locale) { m_dateLocale = locale; }
    QLocale GetDateLocale() const { return m_dateLocale; }
    // The raw comparison of one column type (before the direction flag and the tie-break), exposed
    // for tests: negative when a sorts before b with the flag at 1.
    int CompareTexts(ColumnType type, const QString &a, const QString &b) const;

    // --- selection -------------------------------------------------------------------------
    QItemSelectionModel *GetSelectionModel() const { return m_selection; }
    // Writes at most max selected rows in ascending order; returns how many were written.
    int GetSelectedItems(int max, int *out) const;
    QList<int> GetSelectedRows() const;
    int GetCurSel() const; // first selected row or -1
    // -1 when row >= count; otherwise clears the selection, selects the row (no focus change,
    // no scrolling) and returns 0. A negative row or a heading only clears the selection
    // (returns -1).
    int SetCurSel(int row);
    void EnsureVisible(int row); // emits ensureVisibleRequested

    // --- filtering -------------------------------------------------------------------------
    // A row may carry a filter key: bytes that whoever fills the list prepares the way it
    // prepares the words (SearchText folds both). While filter words are set, only the rows
    // whose key holds every word are listed; the others stay where they are, unlisted, and come
    // back when the words change or are cleared. Every row index of this model (items,
    // selection, sorting) counts the listed rows only. A change of words resets the model and
    // so clears the selection; rows inserted meanwhile are listed until the words next change,
    // and DeleteAllItems ends the filter with the rows.
    bool SetItemFilterKey(int row, const QByteArray &key);
    QByteArray GetItemFilterKey(int row) const;
    // Gives every row its key at once, keyOf(row) (ending any filter first). The keys are kept
    // in one block in the order of the rows, so a search reads them in one sweep through memory
    // instead of jumping between 100,000 separate allocations: several times faster.
    void SetFilterKeys(const std::function<QByteArray(int row)> &keyOf);
    // Empty words list every row again. Words that narrow the last ones look only among the
    // rows listed now, so typing on costs less with each letter.
    void SetFilterWords(const QList<QByteArray> &words);
    const QList<QByteArray> &GetFilterWords() const { return m_filterWords; }
    bool IsFiltered() const { return !m_filterWords.isEmpty(); }
    // Every row, listed or not.
    int GetUnfilteredCount() const { return int(m_rows.size()); }

    // --- what a screen reader says --------------------------------------------------------
    // A note on a row beyond its text ("3 attachments"), asked for (listed row) only when a
    // reader asks: it becomes part of the first cell's accessible name and its description.
    using RowNote = std::function<QString(int row)>;
    void SetRowNote(RowNote note) { m_rowNote = std::move(note); }

    // --- bulk updates ----------------------------------------------------------------------
    // Between BeginBatch and EndBatch every change is gathered into one model reset, so filling
    // 100,000 rows costs one reset instead of 100,000 row insertions. Nests. Selection calls made
    // inside a batch take effect when it ends.
    void BeginBatch();
    void EndBatch();
    bool InBatch() const { return m_batchDepth > 0; }
    class BatchUpdate
    {
    public:
        explicit BatchUpdate(CListModel &model)
            : m_model(model)
        {
            m_model.BeginBatch();
        }
        ~BatchUpdate() { m_model.EndBatch(); }
        BatchUpdate(const BatchUpdate &) = delete;
        BatchUpdate &operator=(const BatchUpdate &) = delete;

    private:
        CListModel &m_model;
    };

    // --- widths ----------------------------------------------------------------------------
    // Measures the width a column needs for a heading text (fonts live in the widget, which
    // installs this). Without one, a deterministic estimate is used.
    using TextMeasurer = std::function<int(const QString &heading)>;
    void SetHeadingMeasurer(TextMeasurer measurer) { m_measureHeading = std::move(measurer); }
    int MeasureHeading(const QString &heading) const;
    // The row whose text in col has the most characters (a cheap stand-in for "widest" that
    // the widget measures in addition to the visible rows); -1 when there are no rows. Cached
    // until the column's texts change.
    int GetLongestTextRow(int col) const;

    // --- QAbstractItemModel ----------------------------------------------------------------
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
    void ensureVisibleRequested(int row);
    void columnSizeRequested(int col, CListModel::Sizing sizing);
    void checkChanged(int row, bool checked);

private:
    struct Column
    {
        QString heading;
        int format = FormatLeft;
        int minWidth = 0;
        ColumnType type = TypeText;
        quint32 serial = 0;
        bool hidden = false;
    };
    struct Row
    {
        QList<QString> texts; // index = column; missing entries read as empty
        qint32 value = 0;
        qint32 image = -1;
        bool checked = false;
        bool heading = false;
        QByteArray filterKey;
    };

    bool validRow(int row) const { return row >= 0 && row < GetItemCount(); }
    // The row record of a listed row.
    Row &at(int row) { return m_rows[IsFiltered() ? m_listed[row] : row]; }
    const Row &at(int row) const { return m_rows[IsFiltered() ? m_listed[row] : row]; }
    bool validColumn(int col) const { return col >= 0 && col < int(m_columns.size()); }
    // In a batch: starts the one model reset (once); returns true when the caller must not
    // emit fine-grained signals.
    bool batchReset();
    void requestSize(int col, Sizing sizing);
    void invalidateLongest(int col) const;
    struct SortKey; // one row's sort-column text, read once per sort
    static SortKey makeKey(ColumnType type, const QString &text, const QLocale &locale,
                           const QStringList &dateFormats);
    static int compareKeys(ColumnType type, const SortKey &a, const SortKey &b);
    void markDataChanged(int firstRow, int lastRow, int firstCol, int lastCol);
    // Sorts every row; notify: announce it as a layout change (only without a filter).
    void sortRows(int col, bool notify);
    // Lists the rows whose key holds every filter word: among the listed ones when narrowing.
    void applyWords(bool narrowing);

    std::vector<Column> m_columns;
    std::vector<Row> m_rows; // every row, listed or not
    QList<QByteArray> m_filterWords;
    // The block SetFilterKeys keeps the keys in; the rows' keys point into it.
    QByteArray m_keyBlock;
    // While filter words are set: the m_rows indexes of the listed rows, in order. Its memory
    // is kept from one change of words to the next, so a keystroke allocates nothing.
    std::vector<int> m_listed;
    quint32 m_nextSerial = 1;
    int m_sortColumn = -1;
    bool m_sortFlag = true;
    bool m_checkBoxes = false;
    QLocale m_dateLocale;
    QItemSelectionModel *m_selection = nullptr;
    TextMeasurer m_measureHeading;
    RowNote m_rowNote;

    int m_batchDepth = 0;
    bool m_resetStarted = false;
    std::vector<std::pair<int, Sizing>> m_pendingSizes;
    std::optional<int> m_pendingCurSel;
    std::optional<int> m_pendingVisible;
    bool m_batchDataChanged = false;
    bool m_batchHeaderChanged = false;

    mutable std::vector<int> m_longestRow; // per column; -2 = unknown
};
