#pragma once
// The tables of the Import Inventory Data dialog: the first rows as they will be saved, and
// every row that will be skipped, with where and why.

#include "exchange/inventory_import.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

namespace Import {

// The first rows to be saved: the row number, each field a column fills (shown as the program
// shows it) and what the row becomes.
class PreviewModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void reset(const std::vector<PlannedRow> &rows, const std::vector<Field> &fields);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // What a planned row becomes: "New asset", "New video title (release year 2000)", ...
    static QString action(const PlannedRow &row);

private:
    QString text(const PlannedRow &row, Field field) const;

    std::vector<PlannedRow> m_rows;
    std::vector<Field> m_shown; // the fields some column fills, in the dialog's order
};

// The rows to be skipped: row, column, text, why; one line per reason.
class SkippedModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void reset(const std::vector<Skip> &skips, const QStringList &headers);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<Skip> m_skips;
    QStringList m_headers;
};

} // namespace Import
