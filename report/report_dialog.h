#pragma once
// InventoryReport::Dialog: "Print Inventory Report". The user chooses which assets (all, or those
// of the ticked categories or locations), how they are grouped, whether pictures, notes and a page
// per asset go in, and the paper; then previews the report, prints it, or saves it as a PDF.
// Long work shows a progress window whose Cancel leaves no file and no print job behind.

#include "report/page_output.h"
#include "report/report_contents.h"

#include <QDate>
#include <QDialog>
#include <QPageSize>

class CADODataBase;
class CAutoListCtrl;
class CHome;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QStackedWidget;

namespace InventoryReport {

class Dialog : public QDialog
{
    Q_OBJECT
public:
    // A report is never saved over db's data file.
    Dialog(CADODataBase &db, const CHome &home, QWidget *owner = nullptr);

    // What the controls ask for now.
    Options options() const;
    QPageSize::PageSizeId paperSize() const;

    // The report's date: today unless a test fixes it.
    void setReportDate(const QDate &date) { m_date = date; }
    QDate reportDate() const { return m_date.isValid() ? m_date : QDate::currentDate(); }

    CAutoListCtrl *categoryList() const { return m_categories; }
    CAutoListCtrl *locationList() const { return m_locations; }
    // The PDF the last Save as PDF wrote; empty until one was written.
    QString writtenFile() const { return m_written; }
    // The name the save dialog proposes: "<home> Inventory <date>.pdf".
    QString proposedFileName() const;

public slots:
    void preview();
    void print();
    void saveAsPdf();
    void selectAll() { setAllChecks(true); }
    void selectNone() { setAllChecks(false); }

private:
    void createControls();
    CAutoListCtrl *shownList() const;
    void selectionChanged();
    void setAllChecks(bool checked);
    bool loadContents(Contents &contents);
    // The report of contents, for preview, print or PDF; contents must outlive it.
    PageOutput::Document document(const Contents &contents) const;

    CADODataBase &m_db;
    qint32 m_homeId = 0;
    QString m_homeDescription;
    QDate m_date;
    QString m_written;

    QButtonGroup *m_selection = nullptr;
    QStackedWidget *m_lists = nullptr;
    CAutoListCtrl *m_categories = nullptr;
    CAutoListCtrl *m_locations = nullptr;
    QComboBox *m_grouping = nullptr;
    QCheckBox *m_pictures = nullptr;
    QCheckBox *m_notes = nullptr;
    QCheckBox *m_receipts = nullptr;
    QCheckBox *m_pagePerAsset = nullptr;
    QComboBox *m_paper = nullptr;
};

} // namespace InventoryReport
