#pragma once
// CDlgExport: "Export Inventory Data". The user ticks the asset categories to export and
// names a file; the current home's assets are written to it as comma-separated values.

#include "exchange/inventory_export.h"

#include <QDialog>

class CADODataBase;
class CAutoListCtrl;
class CHome;
class QPushButton;

class CDlgExport : public QDialog
{
    Q_OBJECT
public:
    CDlgExport(CADODataBase &db, const CHome &home, QWidget *owner = nullptr);

    void SelectAll() { setAllChecks(true); }
    void SelectNone() { setAllChecks(false); }
    // Whether assets of a category go into the report: the tick of its row, and always for a
    // category that has no row (no category at all, or one that is not an asset category).
    bool CategoryIncluded(qint32 categoryId) const;
    CAutoListCtrl *categoryList() const { return m_list; }
    // The file the last export wrote; empty until one succeeded.
    QString writtenFile() const { return m_written; }

public slots:
    // Runs the export; the dialog closes only once a file was written.
    void accept() override;

private:
    InventoryExport::CategoryChoice categoryChoice() const;
    void fillCategories();
    void sizeListToCategories();
    void setAllChecks(bool checked);
    bool exportToFile();

    CADODataBase &m_db;
    qint32 m_homeId = 0;
    QString m_homeDescription;
    CAutoListCtrl *m_list = nullptr;
    QString m_written;
};
