#include "sheets/task_details_page.h"

#include "controls/combo_model.h"
#include "db/lookups.h"
#include "widgets/shared_look.h"

#include "sheets/categories_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLabel *hintLabel(const QString &text, QWidget *parent)
{
    auto *hint = new QLabel(text, parent);
    QPalette palette = hint->palette();
    palette.setColor(QPalette::WindowText, SharedLook::accentColor());
    hint->setPalette(palette);
    return hint;
}

} // namespace

CDlgTaskItem::CDlgTaskItem(CADODataBase &db, QWidget *parent)
    : CPropertyPage(QStringLiteral("Details"), parent)
    , m_db(db)
{
    m_description = new QLineEdit(this);
    m_description->setObjectName(QStringLiteral("description"));
    m_category = new QComboBox(this);
    m_category->setObjectName(QStringLiteral("category"));
    m_categories = new CComboModel(false, m_category);
    m_category->setModel(m_categories);
    m_category->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_category->setMinimumContentsLength(20);
    m_categoriesButton = new QPushButton(QStringLiteral("C&ategories"), this);
    m_categoriesButton->setObjectName(QStringLiteral("categories"));
    m_contact = new QLineEdit(this);
    m_contact->setObjectName(QStringLiteral("contact"));
    m_phone = new QLineEdit(this);
    m_phone->setObjectName(QStringLiteral("phone"));
    m_phone->setMaximumWidth(200);

    auto *layout = new QGridLayout(this);
    int row = 0;
    auto addRow = [&](const QString &caption, QWidget *field, QWidget *beside = nullptr) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(field);
        layout->addWidget(label, row, 0);
        layout->addWidget(field, row, 1, 1, beside ? 1 : 2);
        if (beside)
            layout->addWidget(beside, row, 2);
        ++row;
    };
    auto addHint = [&](const QString &text) {
        layout->addWidget(hintLabel(text, this), row++, 1, 1, 2);
    };
    addRow(QStringLiteral("&Description:"), m_description);
    addHint(QStringLiteral("(e.g: repair garage door)"));
    addRow(QStringLiteral("&Category:"), m_category, m_categoriesButton);
    addRow(QStringLiteral("Co&ntact:"), m_contact);
    addHint(QStringLiteral("(e.g: John's Remodeling Co.)"));
    addRow(QStringLiteral("&Phone #:"), m_phone);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(row, 1);

    connect(m_categoriesButton, &QPushButton::clicked, this, &CDlgTaskItem::chooseCategories);
}

void CDlgTaskItem::fillCategories(qint32 selectId)
{
    CDlgCategories::FillTaskCategories(m_db, *m_categories, *m_category, selectId);
}

void CDlgTaskItem::chooseCategories()
{
    CDlgCategories::ChooseTaskCategory(m_db, *m_categories, *m_category);
}

void CDlgTaskItem::toControls()
{
    m_description->setText(m_strDescription);
    fillCategories(m_nCategoryId);
    m_contact->setText(m_strContact);
    m_phone->setText(m_strPhone);
}

bool CDlgTaskItem::fromControls()
{
    m_strDescription = m_description->text();
    const int index = m_category->currentIndex();
    m_nCategoryId = index >= 0 ? m_categories->GetItemData(index) : 0;
    m_strContact = m_contact->text();
    m_strPhone = m_phone->text();
    return true;
}

void CDlgTaskItem::onActivated()
{
    m_description->setFocus(Qt::OtherFocusReason);
}
