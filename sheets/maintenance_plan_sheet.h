#pragma once
// Maintenance::PlanSheet: the "Maintenance Plan" sheet: what the work is, what it is for, how
// often it comes round and from when, when it is next due, how many days ahead it becomes a
// task and in which task category; then its notes. Edit saves the plan on OK.

#include "records/maintenance_plan.h"
#include "widgets/property_page.h"
#include "widgets/property_sheet.h"

class CADODataBase;
class CComboModel;
class CDlgNotes;
class CUpDownEntry;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace Maintenance {

class PlanPage : public CPropertyPage
{
    Q_OBJECT
public:
    PlanPage(CADODataBase &db, qint32 homeId, QWidget *parent = nullptr);

    void toControls() override;
    bool fromControls() override;
    void onActivated() override;

    // The values the page edits (the plan's notes are the Notes page's).
    Plan m_plan;

private:
    void fillCategories(qint32 selectId);
    void chooseCategories();
    bool readWhole(CUpDownEntry &entry, QString (*problem)(qint32), const QString &notWhole,
                   qint32 &value);

    CADODataBase &m_db;
    qint32 m_homeId;
    bool m_dateUnshown = false; // the stored date was none the control can show
    QLineEdit *m_description = nullptr;
    QComboBox *m_for = nullptr;
    CComboModel *m_targets = nullptr;
    CUpDownEntry *m_every = nullptr;
    QComboBox *m_unit = nullptr;
    QRadioButton *m_fromCompletion = nullptr;
    QRadioButton *m_fixed = nullptr;
    QDateEdit *m_nextDue = nullptr;
    CUpDownEntry *m_leadDays = nullptr;
    QComboBox *m_category = nullptr;
    CComboModel *m_categories = nullptr;
    QPushButton *m_categoriesButton = nullptr;
};

class PlanSheet : public CPropertySheet
{
    Q_OBJECT
public:
    PlanSheet(CADODataBase &db, const Plan &plan, QWidget *owner = nullptr);

    // The plan with the values the pages hold (read back on OK).
    Plan edited() const;

    // Runs the sheet over plan; on OK the plan is saved (what cannot be saved is refused with
    // its reason, the sheet staying open) and taken over. false when cancelled.
    static bool Edit(Plan &plan, CADODataBase &db, QWidget *owner);

private:
    PlanPage *m_page = nullptr;
    CDlgNotes *m_notes = nullptr;
};

} // namespace Maintenance
