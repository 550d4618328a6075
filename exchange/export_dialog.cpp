#include "exchange/export_dialog.h"

#include "controls/auto_list_ctrl.h"
#include "controls/label.h"
#include "db/ado_database.h"
#include "exchange/inventory_export.h"
#include "format/string_table.h"
#include "platform/busy.h"
#include "platform/whole_file.h"
#include "records/home.h"
#include "widgets/file_choice.h"
#include "widgets/ui.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const char kCreateError[] = "I'm afraid there was an error creating that file. Please make sure "
                            "the file is not in use and try again.";

} // namespace

CDlgExport::CDlgExport(CADODataBase &db, const CHome &home, QWidget *owner)
    : QDialog(owner)
    , m_db(db)
    , m_homeId(home.id())
    , m_homeDescription(home.m_strDescription)
{
    setWindowTitle(QStringLiteral("Export Inventory Data"));
    setObjectName(QStringLiteral("exportDialog"));

    auto *picture = new QLabel(this);
    picture->setPixmap(style()->standardIcon(QStyle::SP_FileDialogContentsView).pixmap(32, 32));
    picture->setAccessibleName(QStringLiteral("Export"));
    auto *about = new QLabel(
        QStringLiteral("This feature enables you to export your Home Inventory data to a Comma "
                       "Separated Values (CSV) file. It may be useful to do this for backup, "
                       "reporting or archival purposes."),
        this);
    about->setWordWrap(true);
    auto *editing = new QLabel(QStringLiteral("The CSV file can easily be edited and printed "
                                              "using Microsoft Excel or other spreadsheet "
                                              "applications."),
                               this);
    editing->setWordWrap(true);

    auto *caption = new CLabel(QStringLiteral("Export Assets from these &Categories:"), this);
    caption->setObjectName(QStringLiteral("categoriesCaption"));
    caption->SetTitleStyle();
    m_list = new CAutoListCtrl(
        this, CAutoListCtrl::Options(CAutoListCtrl::NoHeader) | CAutoListCtrl::SingleSelection);
    m_list->setObjectName(QStringLiteral("categoryList"));
    m_list->setAccessibleName(QStringLiteral("Export Assets from these Categories"));
    caption->setBuddy(m_list);
    m_list->InsertColumn(0, QStringLiteral("Category"));
    m_list->SetListMode(true);
    // Only the list-mode view scrolls; the report underneath it stays out of sight.
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto *selectAll = new QPushButton(QStringLiteral("Select &All"), this);
    selectAll->setObjectName(QStringLiteral("selectAll"));
    selectAll->setAutoDefault(false);
    connect(selectAll, &QPushButton::clicked, this, &CDlgExport::SelectAll);
    auto *selectNone = new QPushButton(QStringLiteral("Select &None"), this);
    selectNone->setObjectName(QStringLiteral("selectNone"));
    selectNone->setAutoDefault(false);
    connect(selectNone, &QPushButton::clicked, this, &CDlgExport::SelectNone);

    auto *buttons = new QDialogButtonBox(this);
    auto *exportData =
        buttons->addButton(QStringLiteral("E&xport Data"), QDialogButtonBox::AcceptRole);
    exportData->setObjectName(QStringLiteral("exportData"));
    exportData->setDefault(true);
    auto *cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgExport::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgExport::reject);

    auto *intro = new QGridLayout;
    intro->addWidget(picture, 0, 0, 2, 1, Qt::AlignTop);
    intro->addWidget(about, 0, 1);
    intro->addWidget(editing, 1, 1);
    intro->setColumnStretch(1, 1);
    auto *choice = new QHBoxLayout;
    choice->addWidget(selectAll);
    choice->addWidget(selectNone);
    choice->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(intro);
    layout->addSpacing(6);
    layout->addWidget(caption);
    layout->addWidget(m_list, 1);
    layout->addLayout(choice);
    layout->addWidget(buttons);
    about->setMinimumWidth(360);

    setTabOrder(m_list, selectAll);
    setTabOrder(selectAll, selectNone);
    setTabOrder(selectNone, exportData);
    setTabOrder(exportData, cancel);

    fillCategories();
    m_list->setFocus();
}

void CDlgExport::fillCategories()
{
    m_list->SetRedraw(false);
    m_list->DeleteAllItems();
    m_list->SetExtendedStyle(CAutoListCtrl::CheckBoxes | CAutoListCtrl::FullRowSelect);
    for (const auto &category : InventoryExport::assetCategories(m_db)) {
        const int row = m_list->InsertItem(m_list->GetItemCount(), category.description);
        m_list->SetItemData(row, category.id);
    }
    setAllChecks(true);
    m_list->SetRedraw(true);
    sizeListToCategories();
}

void CDlgExport::sizeListToCategories()
{
    // Two columns of check boxes, tall enough that the usual categories need no scrolling.
    int widest = 0;
    for (int row = 0, n = m_list->GetItemCount(); row < n; ++row)
        widest =
            std::max(widest, m_list->fontMetrics().horizontalAdvance(m_list->GetItemText(row, 0)));
    const int columnWidth = std::max(120, widest + 48); // the check box and the margins
    m_list->SetListMode(true, columnWidth);
    if (QListView *view = m_list->listModeView()) {
        view->setAccessibleName(m_list->accessibleName());
        const int rows = std::clamp((m_list->GetItemCount() + 1) / 2, 4, 12);
        const int frame = 2 * view->frameWidth() + 8;
        // The list lays the items out in the viewport; a row short and it wraps them into a
        // third, scrolled column.
        m_list->setMinimumSize(2 * columnWidth + frame,
                               (rows + 1) * view->gridSize().height() + frame);
    }
}

void CDlgExport::setAllChecks(bool checked)
{
    for (int row = 0, n = m_list->GetItemCount(); row < n; ++row)
        m_list->SetCheck(row, checked);
}

InventoryExport::CategoryChoice CDlgExport::categoryChoice() const
{
    InventoryExport::CategoryChoice choice;
    for (int row = 0, n = m_list->GetItemCount(); row < n; ++row)
        choice.add(m_list->GetItemData(row), m_list->GetCheck(row));
    return choice;
}

bool CDlgExport::CategoryIncluded(qint32 categoryId) const
{
    return categoryChoice().includes(categoryId);
}

void CDlgExport::accept()
{
    if (exportToFile())
        QDialog::accept();
}

bool CDlgExport::exportToFile()
{
    const QString appName = Strings::load(Strings::AppTitle);
    const QString path = FileChoice::saveFileName(
        this, QStringLiteral("Export Inventory Data"),
        InventoryExport::proposedFileName(m_homeDescription), QStringLiteral("CSV Files (*.csv)"),
        QStringLiteral("csv"), m_db.GetDataSource());
    if (path.isEmpty())
        return false;

    InventoryExport::Report report;
    report.homeId = m_homeId;
    report.homeDescription = m_homeDescription;
    report.categories = categoryChoice();
    // Written whole or not at all: cancelled or failed, an older report stays as it was.
    WholeFile::Outcome done;
    {
        Ui::WaitCursor wait;
        Busy::Scope busy(QStringLiteral("Exporting the inventory..."), Busy::Cancel::Allowed);
        done = WholeFile::write(path, m_db.GetDataSource(), [&](QIODevice &file, QString *error) {
            const bool written = InventoryExport::write(m_db, report, file, error);
            if (busy.cancelled())
                return WholeFile::Result::Cancelled;
            return written ? WholeFile::Result::Written : WholeFile::Result::Failed;
        });
    }
    if (done.result == WholeFile::Result::Cancelled) {
        Ui::messageBox(this, QStringLiteral("The export was cancelled. No file was written."),
                       appName, Ui::Icon::Information, Ui::Ok);
        return false;
    }
    if (done.result == WholeFile::Result::Failed) {
        // A file that could not even be made gets the plain message; one that failed while it
        // was written says why.
        const bool made =
            done.step == WholeFile::Step::Write || done.step == WholeFile::Step::Commit;
        Ui::messageBox(this,
                       made
                           ? QString::fromLatin1(kCreateError) + QStringLiteral("\n\n") + done.error
                           : QString::fromLatin1(kCreateError),
                       appName, Ui::Icon::Warning, Ui::Ok);
        return false;
    }
    m_written = path;
    FileChoice::offerToOpen(this, path);
    return true;
}
