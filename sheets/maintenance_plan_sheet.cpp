#include "sheets/maintenance_plan_sheet.h"

#include "controls/combo_model.h"
#include "db/lookups.h"
#include "format/string_table.h"
#include "sheets/asset_purchase_page.h"
#include "sheets/categories_dialog.h"
#include "widgets/notes_page.h"
#include "widgets/shared_look.h"
#include "widgets/ui.h"
#include "widgets/up_down_entry.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>

namespace Maintenance {

namespace {

QComboBox *dropDown(CComboModel *model, const QString &name, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setModel(model);
    return combo;
}

} // namespace

PlanPage::PlanPage(CADODataBase &db, qint32 homeId, QWidget *parent)
    : CPropertyPage(QStringLiteral("Plan"), parent)
    , m_db(db)
    , m_homeId(homeId)
{
    m_description = new QLineEdit(this);
    m_description->setObjectName(QStringLiteral("description"));
    auto *hint = new QLabel(QStringLiteral("(e.g: replace furnace filter)"), this);
    QPalette palette = hint->palette();
    palette.setColor(QPalette::WindowText, SharedLook::accentColor());
    hint->setPalette(palette);

    m_targets = new CComboModel(false, this);
    m_for = dropDown(m_targets, QStringLiteral("forWhat"), this);
    m_for->setToolTip(QStringLiteral("The asset or location the work is for, or the whole home"));
    // A home may have many thousands of assets: rows of one height spare the popup measuring
    // every one of them.
    if (auto *popup = qobject_cast<QListView *>(m_for->view()))
        popup->setUniformItemSizes(true);

    m_every = new CUpDownEntry(QStringLiteral("every"), 1, kMaxEvery, this);
    m_every->setAllowedText(QStringLiteral("[-+]?[0-9]{0,6}"));
    m_every->setMinimumWidth(70);
    m_unit = new QComboBox(this);
    m_unit->setObjectName(QStringLiteral("unit"));
    m_unit->setAccessibleName(QStringLiteral("Unit"));
    m_unit->addItems({ QStringLiteral("days"), QStringLiteral("weeks"), QStringLiteral("months"),
                       QStringLiteral("years") });
    auto *everyRow = new QHBoxLayout;
    everyRow->addWidget(m_every);
    everyRow->addWidget(m_unit);
    everyRow->addStretch(1);

    m_fromCompletion =
        new QRadioButton(QStringLiteral("Next date counted from the day it is d&one"), this);
    m_fromCompletion->setObjectName(QStringLiteral("fromCompletion"));
    m_fixed = new QRadioButton(QStringLiteral("Next date kept on the &calendar (fixed)"), this);
    m_fixed->setObjectName(QStringLiteral("fixed"));
    auto *kinds = new QButtonGroup(this);
    kinds->addButton(m_fromCompletion);
    kinds->addButton(m_fixed);

    m_nextDue = AssetPages::makeDatePicker(QStringLiteral("nextDue"), this);
    m_nextDue->setMinimumDate(firstDate());
    m_nextDue->setMaximumDate(lastDate());

    m_leadDays = new CUpDownEntry(QStringLiteral("leadDays"), 0, kMaxLeadDays, this);
    m_leadDays->setAllowedText(QStringLiteral("[-+]?[0-9]{0,6}"));
    m_leadDays->setMinimumWidth(70);
    auto *leadRow = new QHBoxLayout;
    leadRow->addWidget(m_leadDays);
    leadRow->addWidget(new QLabel(QStringLiteral("days before it is due"), this));
    leadRow->addStretch(1);

    m_categories = new CComboModel(false, this);
    m_category = dropDown(m_categories, QStringLiteral("category"), this);
    m_categoriesButton = new QPushButton(QStringLiteral("C&ategories"), this);
    m_categoriesButton->setObjectName(QStringLiteral("categories"));
    m_categoriesButton->setAutoDefault(false);

    auto *layout = new QGridLayout(this);
    int row = 0;
    const auto addRow = [&](const QString &caption, QWidget *buddy, QLayoutItem *field) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(buddy);
        layout->addWidget(label, row, 0);
        layout->addItem(field, row++, 1);
    };
    const auto item = [](QWidget *widget) { return new QWidgetItem(widget); };
    addRow(QStringLiteral("&Description:"), m_description, item(m_description));
    layout->addWidget(hint, row++, 1);
    addRow(QStringLiteral("&For:"), m_for, item(m_for));
    addRow(QStringLiteral("&Every:"), m_every, everyRow);
    layout->addWidget(m_fromCompletion, row++, 1);
    layout->addWidget(m_fixed, row++, 1);
    addRow(QStringLiteral("Ne&xt due:"), m_nextDue, item(m_nextDue));
    addRow(QStringLiteral("Task days a&head:"), m_leadDays, leadRow);
    auto *categoryRow = new QHBoxLayout;
    categoryRow->addWidget(m_category, 1);
    categoryRow->addWidget(m_categoriesButton);
    addRow(QStringLiteral("Task ca&tegory:"), m_category, categoryRow);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(row, 1);
    m_nextDue->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    setTabOrder(m_description, m_for);
    setTabOrder(m_for, m_every->edit());
    setTabOrder(m_every->edit(), m_unit);
    setTabOrder(m_unit, m_fromCompletion);
    setTabOrder(m_fromCompletion, m_fixed);
    setTabOrder(m_fixed, m_nextDue);
    setTabOrder(m_nextDue, m_leadDays->edit());
    setTabOrder(m_leadDays->edit(), m_category);
    setTabOrder(m_category, m_categoriesButton);
    setMinimumWidth(420);

    connect(m_categoriesButton, &QPushButton::clicked, this, &PlanPage::chooseCategories);
}

void PlanPage::fillCategories(qint32 selectId)
{
    CDlgCategories::FillTaskCategories(m_db, *m_categories, *m_category, selectId);
}

void PlanPage::chooseCategories()
{
    CDlgCategories::ChooseTaskCategory(m_db, *m_categories, *m_category);
}

void PlanPage::toControls()
{
    m_description->setText(m_plan.description);
    {
        Ui::WaitCursor wait;
        fillTargets(m_db, *m_targets, m_homeId, targetOf(m_plan));
    }
    m_for->setCurrentIndex(m_targets->GetCurSel());
    m_every->edit()->setText(QString::number(m_plan.every));
    m_unit->setCurrentIndex(isUnit(m_plan.unit) ? m_plan.unit - Days : Months - Days);
    (m_plan.fromCompletion ? m_fromCompletion : m_fixed)->setChecked(true);
    // A date from another tool may be one the control cannot show; it shows today instead,
    // and the user is told so once the page is up.
    m_dateUnshown = !inRange(m_plan.nextDue);
    m_nextDue->setDate(m_dateUnshown ? QDate::currentDate() : m_plan.nextDue);
    m_leadDays->edit()->setText(QString::number(m_plan.leadDays));
    fillCategories(m_plan.categoryId);
}

bool PlanPage::readWhole(CUpDownEntry &entry, QString (*problem)(qint32), const QString &notWhole,
                         qint32 &value)
{
    bool ok = false;
    const int number = entry.edit()->text().trimmed().toInt(&ok);
    const QString wrong = ok ? problem(number) : notWhole;
    if (!wrong.isEmpty()) {
        refuse(*entry.edit(), wrong);
        return false;
    }
    value = number;
    return true;
}

bool PlanPage::fromControls()
{
    if (!requireText(*m_description, QStringLiteral("Please enter a description for this plan.")))
        return false;
    qint32 every = 0, leadDays = 0;
    if (!readWhole(*m_every, &everyProblem,
                   QStringLiteral("Please enter how often the plan repeats as a whole number "
                                  "from 1 to %1.")
                       .arg(kMaxEvery),
                   every)
        || !readWhole(*m_leadDays, &leadDaysProblem,
                      QStringLiteral("Please enter the days ahead as a whole number from 0 to %1.")
                          .arg(kMaxLeadDays),
                      leadDays))
        return false;
    m_plan.description = m_description->text();
    setTarget(m_plan, m_targets->GetItemData(m_for->currentIndex()));
    m_plan.every = every;
    m_plan.unit = Days + m_unit->currentIndex();
    m_plan.fromCompletion = m_fromCompletion->isChecked();
    if (m_nextDue->date() != m_plan.nextDue) {
        m_plan.nextDue = m_nextDue->date();
        m_dateUnshown = false;
    }
    m_plan.leadDays = leadDays;
    const int category = m_category->currentIndex();
    m_plan.categoryId = category >= 0 ? m_categories->GetItemData(category) : 0;
    return true;
}

void PlanPage::onActivated()
{
    m_description->setFocus(Qt::OtherFocusReason);
    if (m_dateUnshown) {
        m_dateUnshown = false;
        Ui::messageBox(this,
                       QStringLiteral("The next due date stored for this plan is not one the "
                                      "date control can show (it must lie between %1 and %2). "
                                      "Today's date is shown instead: please check it.")
                           .arg(dayText(firstDate()), dayText(lastDate())),
                       Strings::load(Strings::AppTitle), Ui::Icon::Information, Ui::Ok);
        m_plan.nextDue = QDate();
    }
}

PlanSheet::PlanSheet(CADODataBase &db, const Plan &plan, QWidget *owner)
    : CPropertySheet(QStringLiteral("Maintenance Plan"), owner)
{
    setObjectName(QStringLiteral("maintenancePlan"));
    m_page = new PlanPage(db, plan.homeId, this);
    m_page->m_plan = plan;
    m_notes = new CDlgNotes(this);
    m_notes->m_strNotes = plan.notes;
    AddPage(m_page);
    AddPage(m_notes);
}

Plan PlanSheet::edited() const
{
    Plan plan = m_page->m_plan;
    plan.notes = m_notes->m_strNotes;
    return plan;
}

bool PlanSheet::Edit(Plan &plan, CADODataBase &db, QWidget *owner)
{
    PlanSheet sheet(db, plan, owner);
    sheet.setCommit([&] {
        Plan edited = sheet.edited();
        QString refusal;
        bool saved = false;
        {
            Ui::WaitCursor wait;
            saved = edited.save(db, &refusal);
        }
        if (!saved) {
            Ui::messageBox(&sheet,
                           refusal.isEmpty()
                               ? QStringLiteral("The plan could not be saved in the data file.")
                               : refusal,
                           Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Ok);
            return false;
        }
        plan = edited;
        return true;
    });
    return sheet.DoModal() == QDialog::Accepted;
}

} // namespace Maintenance
