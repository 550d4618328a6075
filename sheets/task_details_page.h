#pragma once
// CDlgTaskItem: the Details page of the "Task Properties" sheet: what to do, its category, and
// who does it.

#include "widgets/property_page.h"

class CADODataBase;
class CComboModel;
class QComboBox;
class QLineEdit;
class QPushButton;

class CDlgTaskItem : public CPropertyPage
{
    Q_OBJECT
public:
    // db is read for the task categories only.
    explicit CDlgTaskItem(CADODataBase &db, QWidget *parent = nullptr);

    void toControls() override;
    bool fromControls() override;
    void onActivated() override;

    QString m_strDescription;
    qint32 m_nCategoryId = 0; // Custom2; 0 = none
    QString m_strContact; // Vendor
    QString m_strPhone; // Custom3

private:
    void fillCategories(qint32 selectId);
    void chooseCategories();

    CADODataBase &m_db;
    QLineEdit *m_description = nullptr;
    QComboBox *m_category = nullptr;
    CComboModel *m_categories = nullptr;
    QPushButton *m_categoriesButton = nullptr;
    QLineEdit *m_contact = nullptr;
    QLineEdit *m_phone = nullptr;
};
