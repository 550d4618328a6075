#include "exchange/import_dialog.h"

#include "db/ado_database.h"
#include "format/string_table.h"
#include "platform/busy.h"
#include "records/home.h"
#include "widgets/ui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace Import {
namespace {

enum ColumnTableColumn { HeaderColumn, SampleColumn, FieldColumn, NoteColumn };

const char *separatorName(char separator)
{
    switch (separator) {
    case ';':
        return "Semicolon";
    case '\t':
        return "Tab";
    default:
        return "Comma";
    }
}

QTableView *makeTable(QWidget *parent, const QString &name, const QString &accessibleName)
{
    auto *view = new QTableView(parent);
    view->setObjectName(name);
    view->setAccessibleName(accessibleName);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setStretchLastSection(true);
    view->setTabKeyNavigation(false);
    return view;
}

// Columns no wider than a third of the view, so that the last ones stay in sight.
void fitColumns(QTableView *view)
{
    view->resizeColumnsToContents();
    const int widest = std::max(120, view->viewport()->width() / 3);
    for (int c = 0; c < view->model()->columnCount(); ++c)
        view->setColumnWidth(c, std::min(view->columnWidth(c), widest));
}

} // namespace

Dialog::Dialog(CADODataBase &db, const CHome &home, const QString &path, QByteArray bytes,
               const Settings &start, QWidget *owner)
    : QDialog(owner)
    , m_db(db)
    , m_homeId(home.id())
    , m_homeName(home.m_strDescription)
    , m_path(path)
    , m_bytes(std::move(bytes))
    , m_settings(start)
{
    setWindowTitle(QStringLiteral("Import Inventory Data"));
    setObjectName(QStringLiteral("importDialog"));

    auto *buttons = new QDialogButtonBox(this);
    m_import = buttons->addButton(QStringLiteral("&Import"), QDialogButtonBox::AcceptRole);
    m_import->setObjectName(QStringLiteral("import"));
    m_import->setDefault(true);
    auto *cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &Dialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &Dialog::reject);

    m_columns = readColumns(m_bytes, m_settings);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeReadGroup());
    layout->addWidget(makeColumnsGroup(), 2);
    layout->addWidget(makePreviewGroup(), 3);
    layout->addWidget(makeMatchingGroup());
    layout->addWidget(buttons);

    if (m_settings.fields.size() != std::size_t(m_columns.headers.size()))
        m_settings.fields.assign(std::size_t(m_columns.headers.size()), Field::Ignore);
    fillColumns();
    refreshPreview();
    resize(std::max(sizeHint().width(), 860), std::max(sizeHint().height(), 680));
}

QWidget *Dialog::makeReadGroup()
{
    auto *group = new QGroupBox(QStringLiteral("What was read"), this);
    group->setObjectName(QStringLiteral("readGroup"));
    m_fileName = new QLabel(group);
    m_fileName->setObjectName(QStringLiteral("fileName"));
    m_fileName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QString file = QFileInfo(m_path).fileName();
    if (!m_columns.exportedHome.isEmpty())
        file += QStringLiteral("  (Domelio's inventory export of %1)").arg(m_columns.exportedHome);
    m_fileName->setText(file);
    m_fileName->setToolTip(m_path);
    m_fileName->setAccessibleName(QStringLiteral("File"));

    m_encoding = new QComboBox(group);
    m_encoding->setObjectName(QStringLiteral("encoding"));
    m_encoding->setAccessibleName(QStringLiteral("Encoding"));
    m_encoding->addItem(m_settings.format.byteOrderMark
                            ? QStringLiteral("UTF-8 with byte-order mark")
                            : QStringLiteral("UTF-8"),
                        int(Encoding::Utf8));
    m_encoding->addItem(QStringLiteral("Windows-1252 (Western European)"),
                        int(Encoding::Windows1252));
    m_encoding->setCurrentIndex(m_settings.format.encoding == Encoding::Utf8 ? 0 : 1);

    m_separator = new QComboBox(group);
    m_separator->setObjectName(QStringLiteral("separator"));
    m_separator->setAccessibleName(QStringLiteral("Separator"));
    for (char separator : kSeparators)
        m_separator->addItem(QLatin1String(separatorName(separator)), int(separator));
    m_separator->setCurrentIndex(m_separator->findData(int(m_settings.format.separator)));

    m_headers = new QCheckBox(QStringLiteral("First row holds &headers"), group);
    m_headers->setObjectName(QStringLiteral("headers"));
    m_headers->setChecked(m_settings.format.headers);

    auto *encodingLabel = new QLabel(QStringLiteral("&Encoding:"), group);
    encodingLabel->setBuddy(m_encoding);
    auto *separatorLabel = new QLabel(QStringLiteral("&Separator:"), group);
    separatorLabel->setBuddy(m_separator);
    auto *fileLabel = new QLabel(QStringLiteral("File:"), group);

    auto *grid = new QGridLayout(group);
    grid->addWidget(fileLabel, 0, 0);
    grid->addWidget(m_fileName, 0, 1, 1, 4);
    grid->addWidget(encodingLabel, 1, 0);
    grid->addWidget(m_encoding, 1, 1);
    grid->addWidget(separatorLabel, 1, 2);
    grid->addWidget(m_separator, 1, 3);
    grid->addWidget(m_headers, 1, 4);
    grid->setColumnStretch(4, 1);

    for (QComboBox *box : { m_encoding, m_separator })
        connect(box, &QComboBox::currentIndexChanged, this, &Dialog::formatChanged);
    connect(m_headers, &QCheckBox::toggled, this, &Dialog::formatChanged);
    return group;
}

QWidget *Dialog::makeColumnsGroup()
{
    auto *group = new QGroupBox(QStringLiteral("&Columns"), this);
    group->setObjectName(QStringLiteral("columnsGroup"));
    m_columnTable = new QTableWidget(0, 4, group);
    m_columnTable->setObjectName(QStringLiteral("columns"));
    m_columnTable->setAccessibleName(QStringLiteral("Columns"));
    m_columnTable->setHorizontalHeaderLabels({ QStringLiteral("Column"), QStringLiteral("Sample"),
                                               QStringLiteral("Goes into"),
                                               QStringLiteral("Note") });
    m_columnTable->verticalHeader()->hide();
    m_columnTable->horizontalHeader()->setHighlightSections(false);
    m_columnTable->horizontalHeader()->setStretchLastSection(true);
    m_columnTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_columnTable->setSelectionMode(QAbstractItemView::NoSelection);
    // Tab moves from one drop-down to the next rather than from cell to cell.
    m_columnTable->setTabKeyNavigation(false);
    m_columnTable->setFocusPolicy(Qt::NoFocus);
    m_columnTable->setWordWrap(false);

    m_columnNote = new QLabel(group);
    m_columnNote->setObjectName(QStringLiteral("columnNote"));
    m_columnNote->setWordWrap(true);
    m_columnNote->setAccessibleName(QStringLiteral("Columns note"));

    auto *box = new QVBoxLayout(group);
    box->addWidget(m_columnTable, 1);
    box->addWidget(m_columnNote);
    return group;
}

QWidget *Dialog::makePreviewGroup()
{
    auto *group = new QGroupBox(QStringLiteral("&Preview"), this);
    group->setObjectName(QStringLiteral("previewGroup"));
    m_summary = new QLabel(group);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setWordWrap(true);
    m_summary->setAccessibleName(QStringLiteral("Summary"));
    QFont bold = m_summary->font();
    bold.setBold(true);
    m_summary->setFont(bold);

    m_tabs = new QTabWidget(group);
    m_tabs->setObjectName(QStringLiteral("previewTabs"));
    m_previewModel = new PreviewModel(this);
    m_previewView =
        makeTable(m_tabs, QStringLiteral("previewRows"), QStringLiteral("Rows to import"));
    m_previewView->setModel(m_previewModel);
    m_skippedModel = new SkippedModel(this);
    m_skippedView =
        makeTable(m_tabs, QStringLiteral("skippedRows"), QStringLiteral("Skipped rows"));
    m_skippedView->setModel(m_skippedModel);
    m_tabs->addTab(m_previewView, QStringLiteral("&Rows to import"));
    m_tabs->addTab(m_skippedView, QStringLiteral("S&kipped rows"));

    auto *box = new QVBoxLayout(group);
    box->addWidget(m_summary);
    box->addWidget(m_tabs, 1);
    return group;
}

QWidget *Dialog::makeMatchingGroup()
{
    auto *group = new QGroupBox(QStringLiteral("&Matching assets"), this);
    group->setObjectName(QStringLiteral("matchingGroup"));
    auto *explanation = new QLabel(QStringLiteral("A row whose description, serial number and "
                                                  "purchase date equal those of an asset of %1:")
                                       .arg(m_homeName),
                                   group);
    explanation->setWordWrap(true);
    m_skipMatches =
        new QRadioButton(QStringLiteral("&Leave it out (the asset stays as it is)"), group);
    m_skipMatches->setObjectName(QStringLiteral("skipMatches"));
    m_updateMatches = new QRadioButton(
        QStringLiteral("&Update the matching assets (empty cells keep what is stored)"), group);
    m_updateMatches->setObjectName(QStringLiteral("updateMatches"));
    (m_settings.matching == Matching::Update ? m_updateMatches : m_skipMatches)->setChecked(true);
    connect(m_updateMatches, &QRadioButton::toggled, this, [this](bool update) {
        m_settings.matching = update ? Matching::Update : Matching::Skip;
        refreshPreview();
    });
    auto *box = new QVBoxLayout(group);
    box->addWidget(explanation);
    box->addWidget(m_skipMatches);
    box->addWidget(m_updateMatches);
    return group;
}

void Dialog::formatChanged()
{
    if (m_filling)
        return;
    m_settings.format.encoding = Encoding(m_encoding->currentData().toInt());
    m_settings.format.separator = char(m_separator->currentData().toInt());
    m_settings.format.headers = m_headers->isChecked();
    m_columns = readColumns(m_bytes, m_settings);
    // Columns named by their headers go where the names say; numbered ones wait for the user.
    if (m_settings.format.headers)
        m_settings.fields = fieldsForHeaders(m_columns.headers);
    else
        m_settings.fields.assign(std::size_t(m_columns.headers.size()), Field::Ignore);
    fillColumns();
    refreshPreview();
}

void Dialog::fillColumns()
{
    m_filling = true;
    m_columnTable->setRowCount(int(m_columns.headers.size()));
    for (int c = 0; c < m_columns.headers.size(); ++c) {
        const QString &header = m_columns.headers[c];
        auto *name = new QTableWidgetItem(header);
        name->setToolTip(header);
        m_columnTable->setItem(c, HeaderColumn, name);
        QString sample = m_columns.samples.value(c);
        sample.replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r'));
        auto *sampleItem = new QTableWidgetItem(sample);
        sampleItem->setToolTip(m_columns.samples.value(c));
        m_columnTable->setItem(c, SampleColumn, sampleItem);
        m_columnTable->setItem(c, NoteColumn, new QTableWidgetItem);
        // The cell under the drop-down says the same, for whoever reads the table as a table.
        m_columnTable->setItem(c, FieldColumn,
                               new QTableWidgetItem(fieldName(m_settings.fields[std::size_t(c)])));

        auto *field = new QComboBox(m_columnTable);
        field->setObjectName(QStringLiteral("field%1").arg(c + 1));
        field->setAccessibleName(QStringLiteral("Column %1, %2, goes into").arg(c + 1).arg(header));
        field->addItem(fieldName(Field::Ignore), int(Field::Ignore));
        for (int f = int(Field::Description); f < kFieldCount; ++f)
            field->addItem(fieldName(Field(f)), f);
        field->setCurrentIndex(field->findData(int(m_settings.fields[std::size_t(c)])));
        connect(field, &QComboBox::currentIndexChanged, this,
                [this, c](int index) { fieldChosen(c, index); });
        m_columnTable->setCellWidget(c, FieldColumn, field);
    }
    m_columnTable->resizeColumnsToContents();
    m_columnTable->setColumnWidth(SampleColumn,
                                  std::min(m_columnTable->columnWidth(SampleColumn), 260));
    m_columnTable->setColumnWidth(HeaderColumn,
                                  std::min(m_columnTable->columnWidth(HeaderColumn), 200));
    m_columnTable->resizeRowsToContents();
    // The tab order follows the columns: from the headers box to the first drop-down on.
    QWidget *previous = m_headers;
    for (int c = 0; c < m_columnTable->rowCount(); ++c) {
        QWidget *field = m_columnTable->cellWidget(c, FieldColumn);
        setTabOrder(previous, field);
        previous = field;
    }
    setTabOrder(previous, m_tabs);
    m_filling = false;
    checkColumns();
}

void Dialog::fieldChosen(int column, int index)
{
    if (m_filling || column < 0 || std::size_t(column) >= m_settings.fields.size())
        return;
    auto *box = qobject_cast<QComboBox *>(m_columnTable->cellWidget(column, FieldColumn));
    m_settings.fields[std::size_t(column)] = Field(box->itemData(index).toInt());
    if (QTableWidgetItem *item = m_columnTable->item(column, FieldColumn))
        item->setText(box->itemText(index));
    checkColumns();
    refreshPreview();
}

std::vector<Field> Dialog::effectiveFields() const
{
    std::vector<Field> fields = m_settings.fields;
    quint32 taken = 0;
    for (Field &field : fields) {
        const quint32 bit = 1u << int(field);
        if (field != Field::Ignore && (taken & bit))
            field = Field::Ignore;
        taken |= bit;
    }
    return fields;
}

void Dialog::checkColumns()
{
    QStringList notes;
    std::vector<int> firstColumn(kFieldCount, -1);
    for (int c = 0; c < int(m_settings.fields.size()); ++c) {
        const Field field = m_settings.fields[std::size_t(c)];
        QString note;
        if (field != Field::Ignore) {
            int &first = firstColumn[std::size_t(field)];
            if (first >= 0) {
                note = QStringLiteral("%1 already comes from column %2 (%3)")
                           .arg(fieldName(field))
                           .arg(first + 1)
                           .arg(m_columns.headers.value(first));
                notes << QStringLiteral("Column %1 (%2): ").arg(c + 1).arg(m_columns.headers[c])
                        + note + QStringLiteral(". Two columns cannot go into one field.");
            } else {
                first = c;
            }
        }
        if (QTableWidgetItem *item = m_columnTable->item(c, NoteColumn)) {
            item->setText(note);
            item->setForeground(palette().brush(QPalette::Highlight));
        }
    }
    if (firstColumn[std::size_t(Field::Description)] < 0)
        notes.prepend(QStringLiteral("Choose the column that holds each asset's description: "
                                     "it is the one field every asset needs."));
    m_blocker = notes.join(QLatin1Char('\n'));
    m_columnNote->setText(m_blocker);
    m_columnNote->setVisible(!m_blocker.isEmpty());
}

void Dialog::refreshPreview()
{
    Settings effective = m_settings;
    effective.fields = effectiveFields();
    {
        Ui::WaitCursor wait;
        Busy::Scope busy(QStringLiteral("Reading the file..."), Busy::Cancel::Allowed);
        m_preview = preview(m_db, m_homeId, m_bytes, effective);
    }
    const bool readable = m_preview.error.isEmpty() && !m_preview.stopped;
    if (m_preview.stopped)
        m_summary->setText(QStringLiteral("The reading was stopped before the end of the file, so "
                                          "the preview is not complete. Change a setting above "
                                          "to read the file again."));
    else if (!readable)
        m_summary->setText(QStringLiteral("The file cannot be imported as it is read now: ")
                           + m_preview.error);
    else
        m_summary->setText(previewText(m_preview));
    m_previewModel->reset(m_preview.first, effective.fields);
    m_skippedModel->reset(m_preview.skips, m_columns.headers);
    fitColumns(m_previewView);
    fitColumns(m_skippedView);
    m_tabs->setTabText(1, QStringLiteral("S&kipped rows (%1)").arg(m_preview.skippedRows));
    m_import->setEnabled(readable && m_blocker.isEmpty()
                         && m_preview.added + m_preview.updated > 0);
}

void Dialog::accept()
{
    if (!m_import->isEnabled())
        return;
    Settings effective = m_settings;
    effective.fields = effectiveFields();
    Outcome done;
    {
        Ui::WaitCursor wait;
        Busy::Scope busy(QStringLiteral("Importing the inventory..."), Busy::Cancel::Allowed);
        done = run(m_db, m_homeId, m_bytes, effective, m_preview.added);
    }
    const QString appName = Strings::load(Strings::AppTitle);
    if (done.cancelled) {
        Ui::messageBox(this, QStringLiteral("The import was cancelled. Nothing was changed."),
                       appName, Ui::Icon::Information, Ui::Ok);
        return;
    }
    if (!done.done) {
        Ui::messageBox(this,
                       QStringLiteral("The inventory could not be imported. Nothing was "
                                      "changed.\n\n")
                           + done.error,
                       appName, Ui::Icon::Warning, Ui::Ok);
        return;
    }
    m_outcome = std::move(done);
    QDialog::accept();
}

} // namespace Import
