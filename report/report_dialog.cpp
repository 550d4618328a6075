#include "report/report_dialog.h"

#include "controls/auto_list_ctrl.h"
#include "format/display_text.h"
#include "records/home.h"
#include "report/page_output.h"
#include "report/report_layout.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace InventoryReport {

Dialog::Dialog(CADODataBase &db, const CHome &home, QWidget *owner)
    : QDialog(owner)
    , m_db(db)
    , m_homeId(home.id())
    , m_homeDescription(home.m_strDescription)
{
    setWindowTitle(QStringLiteral("Print Inventory Report"));
    setObjectName(QStringLiteral("inventoryReportDialog"));
    createControls();
    PageOutput::fillTicked(*m_categories, categoryChoices(m_db));
    PageOutput::fillTicked(*m_locations, locationChoices(m_db, m_homeId));
    selectionChanged();
}

void Dialog::createControls()
{
    // Which assets.
    auto *assets = new QGroupBox(QStringLiteral("Assets"), this);
    m_selection = new QButtonGroup(this);
    const struct
    {
        Selection selection;
        const char *text;
        const char *name;
    } choices[] = {
        { Selection::AllAssets, "&Every asset of the home", "allAssets" },
        { Selection::TickedCategories, "Assets in the ticked &categories", "tickedCategories" },
        { Selection::TickedLocations, "Assets in the ticked &locations", "tickedLocations" },
    };
    auto *assetsLayout = new QVBoxLayout(assets);
    for (const auto &choice : choices) {
        auto *radio = new QRadioButton(QString::fromLatin1(choice.text), assets);
        radio->setObjectName(QLatin1String(choice.name));
        m_selection->addButton(radio, int(choice.selection));
        assetsLayout->addWidget(radio);
    }
    m_selection->button(int(Selection::AllAssets))->setChecked(true);
    connect(m_selection, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            selectionChanged();
    });
    m_categories = PageOutput::tickList(QStringLiteral("categoryList"),
                                        QStringLiteral("Categories"), 8, assets);
    m_locations = PageOutput::tickList(QStringLiteral("locationList"), QStringLiteral("Locations"),
                                       8, assets);
    m_lists = new QStackedWidget(assets);
    m_lists->addWidget(m_categories);
    m_lists->addWidget(m_locations);
    assetsLayout->addWidget(m_lists, 1);
    auto *selectAll =
        PageOutput::button(QStringLiteral("Select &All"), QStringLiteral("selectAll"), assets);
    connect(selectAll, &QPushButton::clicked, this, &Dialog::selectAll);
    auto *selectNone =
        PageOutput::button(QStringLiteral("Select &None"), QStringLiteral("selectNone"), assets);
    connect(selectNone, &QPushButton::clicked, this, &Dialog::selectNone);
    auto *ticks = new QHBoxLayout;
    ticks->addWidget(selectAll);
    ticks->addWidget(selectNone);
    ticks->addStretch();
    assetsLayout->addLayout(ticks);

    // How they are laid out.
    auto *layoutBox = new QGroupBox(QStringLiteral("Layout"), this);
    auto *form = new QFormLayout(layoutBox);
    m_grouping = new QComboBox(layoutBox);
    m_grouping->setObjectName(QStringLiteral("grouping"));
    m_grouping->addItem(groupingName(Grouping::Location), int(Grouping::Location));
    m_grouping->addItem(groupingName(Grouping::Category), int(Grouping::Category));
    form->addRow(QStringLiteral("&Group by:"), m_grouping);
    m_pictures = new QCheckBox(QStringLiteral("Include p&ictures"), layoutBox);
    m_pictures->setObjectName(QStringLiteral("pictures"));
    m_pictures->setChecked(true);
    m_notes = new QCheckBox(QStringLiteral("Include no&tes"), layoutBox);
    m_notes->setObjectName(QStringLiteral("notes"));
    m_notes->setChecked(true);
    m_receipts = new QCheckBox(QStringLiteral("Include &receipts"), layoutBox);
    m_receipts->setObjectName(QStringLiteral("receipts"));
    m_receipts->setToolTip(QStringLiteral(
        "A page for each receipt kept as a picture with an asset, after the assets"));
    m_pagePerAsset = new QCheckBox(QStringLiteral("&One page per asset"), layoutBox);
    m_pagePerAsset->setObjectName(QStringLiteral("pagePerAsset"));
    m_pagePerAsset->setToolTip(QStringLiteral("Otherwise each asset is one row of a table"));
    form->addRow(m_pictures);
    form->addRow(m_notes);
    form->addRow(m_receipts);
    form->addRow(m_pagePerAsset);
    m_paper = new QComboBox(layoutBox);
    m_paper->setObjectName(QStringLiteral("paper"));
    for (const auto &[id, text] : { std::pair(QPageSize::Letter, "Letter (8.5 x 11 in)"),
                                    std::pair(QPageSize::A4, "A4 (210 x 297 mm)"),
                                    std::pair(QPageSize::Legal, "Legal (8.5 x 14 in)") })
        m_paper->addItem(QString::fromLatin1(text), int(id));
    m_paper->setCurrentIndex(m_paper->findData(int(defaultPaperSize())));
    form->addRow(QStringLiteral("Paper si&ze:"), m_paper);
    // The form's labels name their fields for screen readers too.
    for (QWidget *field : { static_cast<QWidget *>(m_grouping), static_cast<QWidget *>(m_paper) }) {
        if (auto *label = qobject_cast<QLabel *>(form->labelForField(field)))
            field->setAccessibleName(label->text().remove(QLatin1Char('&')).chopped(1));
    }

    const PageOutput::OutputButtons buttons = PageOutput::outputButtons(
        *this, QStringLiteral("&Save as PDF..."), [this] { preview(); }, [this] { print(); },
        [this] { saveAsPdf(); });

    auto *columns = new QHBoxLayout;
    columns->addWidget(assets, 1);
    columns->addWidget(layoutBox, 0, Qt::AlignTop);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons.box);

    QList<QWidget *> order { m_selection->button(0),
                             m_selection->button(1),
                             m_selection->button(2),
                             m_categories,
                             m_locations,
                             selectAll,
                             selectNone,
                             m_grouping,
                             m_pictures,
                             m_notes,
                             m_receipts,
                             m_pagePerAsset,
                             m_paper };
    order << buttons.tabOrder;
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

CAutoListCtrl *Dialog::shownList() const
{
    return m_selection->checkedId() == int(Selection::TickedLocations) ? m_locations : m_categories;
}

void Dialog::selectionChanged()
{
    const bool ticking = m_selection->checkedId() != int(Selection::AllAssets);
    m_lists->setCurrentWidget(shownList());
    m_lists->setEnabled(ticking);
    for (const char *name : { "selectAll", "selectNone" })
        findChild<QPushButton *>(QLatin1String(name))->setEnabled(ticking);
}

void Dialog::setAllChecks(bool checked)
{
    PageOutput::setAllChecks(*shownList(), checked);
}

Options Dialog::options() const
{
    Options options;
    options.selection = Selection(m_selection->checkedId());
    if (options.selection != Selection::AllAssets) {
        const CAutoListCtrl *list = shownList();
        for (int row = 0, n = list->GetItemCount(); row < n; ++row) {
            if (list->GetCheck(row))
                options.ticked.insert(list->GetItemData(row));
        }
    }
    options.grouping = Grouping(m_grouping->currentData().toInt());
    options.pictures = m_pictures->isChecked();
    options.notes = m_notes->isChecked();
    options.receipts = m_receipts->isChecked();
    options.pagePerAsset = m_pagePerAsset->isChecked();
    return options;
}

QPageSize::PageSizeId Dialog::paperSize() const
{
    return QPageSize::PageSizeId(m_paper->currentData().toInt());
}

QString Dialog::proposedFileName() const
{
    return PageOutput::pdfName(m_homeDescription, QStringLiteral("Inventory"), reportDate());
}

} // namespace InventoryReport
