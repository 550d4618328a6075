#include "report/label_dialog.h"

#include "controls/auto_list_ctrl.h"
#include "db/ado_database.h"
#include "format/display_text.h"
#include "platform/settings_key.h"
#include "records/home.h"
#include "report/custom_sheet_dialog.h"
#include "report/page_output.h"
#include "report/report_contents.h"
#include "report/report_layout.h"
#include "widgets/ui.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <limits>

namespace Labels {
namespace {

// The values the dialog keeps under the program's settings key.
const QString kSheetValue = QStringLiteral("LabelSheet");
const QString kSkipValue = QStringLiteral("LabelSkip");
const QString kOwnLineValue = QStringLiteral("LabelOwnLine");
const QString kChoiceValue = QStringLiteral("LabelChoice");
const QString kCustomValue = QStringLiteral("LabelCustomLayout");
const QString kInchesMark = QStringLiteral("units=in ");

constexpr int kOwnLineLength = 80;

QString paperName(const Geometry &g)
{
    const QPageSize size = pageLayout(g).pageSize();
    if (size.id() == QPageSize::Letter)
        return QStringLiteral("Letter");
    if (size.id() == QPageSize::A4)
        return QStringLiteral("A4");
    return {};
}

QString mm(qreal value)
{
    return userLocale().toString(value, 'f', 1);
}

QString summaryOf(const Geometry &g)
{
    if (!problem(g).isEmpty())
        return problem(g);
    const QString label =
        QStringLiteral("%1 \u00d7 %2 mm").arg(mm(g.label.width()), mm(g.label.height()));
    if (g.perPage() == 1 && g.page == g.label)
        return QStringLiteral("One label of %1 a page.").arg(label);
    const QString paper = paperName(g);
    const QString page = paper.isEmpty()
        ? QStringLiteral("%1 \u00d7 %2 mm pages").arg(mm(g.page.width()), mm(g.page.height()))
        : paper + QStringLiteral(" paper");
    return QStringLiteral("%1 labels of %2 a sheet (%3 across, %4 down), on %5.")
        .arg(g.perPage())
        .arg(label)
        .arg(g.columns)
        .arg(g.rows)
        .arg(page);
}

} // namespace

Dialog::Dialog(CADODataBase &db, const CHome &home, CSettingsKey &settings, const Context &context,
               QWidget *owner)
    : QDialog(owner)
    , m_db(db)
    , m_settings(settings)
    , m_homeId(home.id())
    , m_homeDescription(home.m_strDescription)
    , m_selectedAssets(context.selectedAssets)
    , m_custom(presetGeometry(Sheet::Custom))
{
    setWindowTitle(QStringLiteral("Print Labels"));
    setObjectName(QStringLiteral("labelsDialog"));
    createControls();
    restore(context);
}

void Dialog::createControls()
{
    QWidget *choices = createChoices();
    QWidget *sheetBox = createSheetBox();

    auto *labelBox = new QGroupBox(QStringLiteral("On each label"), this);
    auto *labelLayout = new QGridLayout(labelBox);
    auto *always = new QLabel(
        QStringLiteral("The QR code, the description, the location and the number."), labelBox);
    always->setWordWrap(true);
    labelLayout->addWidget(always, 0, 0, 1, 2);
    m_ownLine = new QLineEdit(labelBox);
    m_ownLine->setObjectName(QStringLiteral("ownLine"));
    m_ownLine->setMaxLength(kOwnLineLength);
    m_ownLine->setPlaceholderText(QStringLiteral("If found, please call ..."));
    m_ownLine->setToolTip(QStringLiteral("A line of your own under the others on every label"));
    auto *ownLabel = new QLabel(QStringLiteral("Own l&ine:"), labelBox);
    ownLabel->setBuddy(m_ownLine);
    m_ownLine->setAccessibleName(QStringLiteral("Own line"));
    labelLayout->addWidget(ownLabel, 1, 0);
    labelLayout->addWidget(m_ownLine, 1, 1);

    const PageOutput::OutputButtons buttons = PageOutput::outputButtons(
        *this, QStringLiteral("Save as P&DF..."), [this] { preview(); }, [this] { print(); },
        [this] { saveAsPdf(); });

    auto *right = new QVBoxLayout;
    right->addWidget(sheetBox);
    right->addWidget(labelBox);
    right->addStretch();
    auto *columns = new QHBoxLayout;
    columns->addWidget(choices, 1);
    columns->addLayout(right);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons.box);

    QList<QWidget *> order;
    for (QAbstractButton *radio : m_choice->buttons()) {
        order << radio;
        if (m_choice->id(radio) == int(Choice::AssetNumbers))
            order << m_first << m_last;
    }
    order << m_categories << m_locations << m_labelLocations << m_selectAll << m_selectNone
          << m_sheet << m_layout << m_skip << m_ownLine << buttons.tabOrder;
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

QWidget *Dialog::createChoices()
{
    auto *box = new QGroupBox(QStringLiteral("Labels for"), this);
    auto *layout = new QVBoxLayout(box);
    m_choice = new QButtonGroup(this);
    const QString selected = m_selectedAssets.size() > 1
        ? QStringLiteral("The &selected assets (%1)").arg(m_selectedAssets.size())
        : QStringLiteral("The &selected asset");
    const struct
    {
        Choice choice;
        QString text;
        const char *name;
    } choices[] = {
        { Choice::SelectedAssets, selected, "selectedAssets" },
        { Choice::AllAssets, QStringLiteral("&Every asset of the home"), "allAssets" },
        { Choice::TickedCategories, QStringLiteral("Assets in the ticked &categories"),
          "tickedCategories" },
        { Choice::TickedLocations, QStringLiteral("Assets in the ticked l&ocations"),
          "tickedLocations" },
        { Choice::AssetNumbers, QStringLiteral("Asset n&umbers from"), "assetNumbers" },
        { Choice::LocationLabels, QStringLiteral("&Location labels, one per ticked location"),
          "locationLabels" },
    };
    for (const auto &choice : choices) {
        auto *radio = new QRadioButton(choice.text, box);
        radio->setObjectName(QLatin1String(choice.name));
        m_choice->addButton(radio, int(choice.choice));
        if (choice.choice != Choice::AssetNumbers) {
            layout->addWidget(radio);
            continue;
        }
        // "Asset numbers from [12] to [40]": the numbers the labels print, not a count.
        const auto [lowest, highest] = assetNumberRange(m_db, m_homeId);
        auto *row = new QHBoxLayout;
        row->addWidget(radio);
        m_first = new QSpinBox(box);
        m_first->setObjectName(QStringLiteral("firstNumber"));
        m_first->setAccessibleName(QStringLiteral("First asset number"));
        m_first->setRange(1, std::numeric_limits<qint32>::max());
        m_first->setValue(std::max(1, lowest));
        auto *to = new QLabel(QStringLiteral("&to"), box);
        m_last = new QSpinBox(box);
        m_last->setObjectName(QStringLiteral("lastNumber"));
        m_last->setAccessibleName(QStringLiteral("Last asset number"));
        m_last->setRange(1, std::numeric_limits<qint32>::max());
        m_last->setValue(std::max(1, highest));
        to->setBuddy(m_last);
        row->addWidget(m_first);
        row->addWidget(to);
        row->addWidget(m_last);
        row->addStretch();
        layout->addLayout(row);
        // Typing a number chooses the range.
        for (QSpinBox *spin : { m_first, m_last })
            connect(spin, &QSpinBox::valueChanged, radio, [radio] { radio->setChecked(true); });
    }
    m_choice->button(int(Choice::SelectedAssets))->setEnabled(!m_selectedAssets.empty());
    connect(m_choice, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            choiceChanged();
    });

    const auto ticked = [box](const QString &name, const QString &accessibleName,
                              const std::vector<InventoryReport::Choice> &choices) {
        CAutoListCtrl *list = PageOutput::tickList(name, accessibleName, 7, box);
        PageOutput::fillTicked(*list, choices);
        return list;
    };
    m_categories = ticked(QStringLiteral("categoryList"), QStringLiteral("Categories"),
                          InventoryReport::categoryChoices(m_db));
    m_locations = ticked(QStringLiteral("locationList"), QStringLiteral("Locations"),
                         InventoryReport::locationChoices(m_db, m_homeId));
    std::vector<InventoryReport::Choice> places = InventoryReport::locationChoices(m_db, m_homeId);
    std::erase_if(places, [](const auto &choice) { return choice.id == InventoryReport::kNone; });
    m_labelLocations =
        ticked(QStringLiteral("locationLabelList"), QStringLiteral("Locations to label"), places);
    m_lists = new QStackedWidget(box);
    m_lists->addWidget(m_categories);
    m_lists->addWidget(m_locations);
    m_lists->addWidget(m_labelLocations);
    layout->addWidget(m_lists, 1);
    m_selectAll =
        PageOutput::button(QStringLiteral("Select &All"), QStringLiteral("selectAll"), box);
    connect(m_selectAll, &QPushButton::clicked, this, &Dialog::selectAll);
    m_selectNone =
        PageOutput::button(QStringLiteral("Select &None"), QStringLiteral("selectNone"), box);
    connect(m_selectNone, &QPushButton::clicked, this, &Dialog::selectNone);
    auto *ticks = new QHBoxLayout;
    ticks->addWidget(m_selectAll);
    ticks->addWidget(m_selectNone);
    ticks->addStretch();
    layout->addLayout(ticks);
    return box;
}

QWidget *Dialog::createSheetBox()
{
    auto *box = new QGroupBox(QStringLiteral("Sheet"), this);
    auto *grid = new QGridLayout(box);
    m_sheet = new QComboBox(box);
    m_sheet->setObjectName(QStringLiteral("sheet"));
    m_sheet->setAccessibleName(QStringLiteral("Sheet"));
    for (Sheet sheet : kSheets)
        m_sheet->addItem(sheetName(sheet), int(sheet));
    auto *sheetLabel = new QLabel(QStringLiteral("S&heet:"), box);
    sheetLabel->setBuddy(m_sheet);
    grid->addWidget(sheetLabel, 0, 0);
    grid->addWidget(m_sheet, 0, 1, 1, 2);

    m_summary = new QLabel(box);
    m_summary->setObjectName(QStringLiteral("sheetSummary"));
    m_summary->setWordWrap(true);
    // As wide as the widest sheet's summary on two lines, so the dialog keeps its size.
    m_summary->setMinimumWidth(m_sheet->sizeHint().width());
    grid->addWidget(m_summary, 1, 1, 1, 2);
    m_layout = PageOutput::button(QStringLiteral("Custom La&yout..."),
                                  QStringLiteral("customLayout"), box);
    m_layout->setToolTip(QStringLiteral("The page, the rows and columns, and the labels' size, "
                                        "margins and pitch of a custom sheet"));
    connect(m_layout, &QPushButton::clicked, this, &Dialog::editCustomLayout);
    grid->addWidget(m_layout, 2, 1, Qt::AlignLeft);

    m_skip = new QSpinBox(box);
    m_skip->setObjectName(QStringLiteral("skip"));
    m_skip->setAccessibleName(QStringLiteral("Labels to skip on the first sheet"));
    m_skip->setToolTip(QStringLiteral("For a sheet whose first labels were used before"));
    auto *skipLabel = new QLabel(QStringLiteral("S&kip the first"), box);
    skipLabel->setBuddy(m_skip);
    auto *skipRow = new QHBoxLayout;
    skipRow->addWidget(m_skip);
    skipRow->addWidget(new QLabel(QStringLiteral("labels of the first sheet"), box));
    skipRow->addStretch();
    grid->addWidget(skipLabel, 3, 0);
    grid->addLayout(skipRow, 3, 1, 1, 2);
    grid->setColumnStretch(2, 1);
    connect(m_sheet, &QComboBox::currentIndexChanged, this, &Dialog::sheetChanged);
    return box;
}

void Dialog::restore(const Context &context)
{
    QString text;
    if (m_settings.ReadString(kCustomValue, text)) {
        if (const std::optional<Geometry> custom = fromText(text)) {
            m_custom = *custom;
            m_customInches = text.startsWith(kInchesMark);
        }
    }
    // At first the usual sheet of the paper the country's printers hold.
    Sheet sheet = InventoryReport::defaultPaperSize() == QPageSize::Letter ? Sheet::Avery5160
                                                                           : Sheet::AveryL7160;
    if (m_settings.ReadString(kSheetValue, text))
        sheet = sheetFromKey(text).value_or(sheet);
    m_sheet->setCurrentIndex(m_sheet->findData(int(sheet)));
    sheetChanged();
    qint32 number = 0;
    if (m_settings.ReadNumber(kSkipValue, number))
        m_skip->setValue(number);
    if (m_settings.ReadString(kOwnLineValue, text))
        m_ownLine->setText(text);

    Choice choice = Choice::AllAssets;
    if (m_settings.ReadNumber(kChoiceValue, number) && number >= int(Choice::SelectedAssets)
        && number <= int(Choice::LocationLabels))
        choice = Choice(number);
    // Opened on a selection, the dialog starts from it.
    if (context.selectedLocation > 0) {
        choice = Choice::LocationLabels;
        for (int row = 0; row < m_labelLocations->GetItemCount(); ++row)
            m_labelLocations->SetCheck(
                row, m_labelLocations->GetItemData(row) == context.selectedLocation);
    } else if (!m_selectedAssets.empty()) {
        choice = Choice::SelectedAssets;
    } else if (choice == Choice::SelectedAssets) {
        choice = Choice::AllAssets;
    }
    m_choice->button(int(choice))->setChecked(true);
    choiceChanged();
}

void Dialog::remember()
{
    m_settings.WriteString(kSheetValue, sheetKey(sheet()));
    m_settings.WriteNumber(kSkipValue, m_skip->value());
    m_settings.WriteString(kOwnLineValue, m_ownLine->text());
    m_settings.WriteNumber(kChoiceValue, m_choice->checkedId());
    m_settings.WriteString(kCustomValue,
                           (m_customInches ? kInchesMark : QString()) + toText(m_custom));
}

void Dialog::done(int result)
{
    remember();
    QDialog::done(result);
}

CAutoListCtrl *Dialog::shownList() const
{
    switch (Choice(m_choice->checkedId())) {
    case Choice::TickedLocations:
        return m_locations;
    case Choice::LocationLabels:
        return m_labelLocations;
    default:
        return m_categories;
    }
}

void Dialog::choiceChanged()
{
    const Choice choice = Choice(m_choice->checkedId());
    const bool ticking = choice == Choice::TickedCategories || choice == Choice::TickedLocations
        || choice == Choice::LocationLabels;
    m_lists->setCurrentWidget(shownList());
    m_lists->setEnabled(ticking);
    m_selectAll->setEnabled(ticking);
    m_selectNone->setEnabled(ticking);
}

void Dialog::sheetChanged()
{
    const Geometry g = geometry();
    const bool custom = sheet() == Sheet::Custom;
    m_layout->setEnabled(custom);
    m_summary->setText(summaryOf(g));
    // A roll has no used labels to skip.
    m_skip->setRange(0, std::max(0, g.perPage() - 1));
    m_skip->setEnabled(g.perPage() > 1);
}

void Dialog::setAllChecks(bool checked)
{
    PageOutput::setAllChecks(*shownList(), checked);
}

Request Dialog::request() const
{
    Request request;
    request.choice = Choice(m_choice->checkedId());
    switch (request.choice) {
    case Choice::SelectedAssets:
        request.selected = m_selectedAssets;
        break;
    case Choice::AssetNumbers:
        request.first = m_first->value();
        request.last = m_last->value();
        break;
    case Choice::TickedCategories:
    case Choice::TickedLocations:
    case Choice::LocationLabels:
        for (int row = 0, n = shownList()->GetItemCount(); row < n; ++row) {
            if (shownList()->GetCheck(row))
                request.ticked.insert(shownList()->GetItemData(row));
        }
        break;
    case Choice::AllAssets:
        break;
    }
    return request;
}

Sheet Dialog::sheet() const
{
    return Sheet(m_sheet->currentData().toInt());
}

Geometry Dialog::geometry() const
{
    return sheet() == Sheet::Custom ? m_custom : presetGeometry(sheet());
}

int Dialog::skip() const
{
    return m_skip->isEnabled() ? m_skip->value() : 0;
}

QString Dialog::ownLine() const
{
    return m_ownLine->text().trimmed();
}

QString Dialog::proposedFileName() const
{
    return PageOutput::pdfName(m_homeDescription, QStringLiteral("Labels"), QDate::currentDate());
}

void Dialog::editCustomLayout()
{
    CustomSheetDialog dialog(m_custom, m_customInches, this);
    if (Ui::runModal(dialog) != QDialog::Accepted)
        return;
    m_custom = dialog.geometry();
    m_customInches = dialog.inches();
    sheetChanged();
    remember();
}

} // namespace Labels
