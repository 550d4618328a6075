#include "sheets/asset_details_page.h"

#include "controls/combo_model.h"
#include "db/lookups.h"
#include "db/sql_text.h"
#include "sheets/categories_dialog.h"
#include "widgets/number_entry.h"
#include "widgets/shared_look.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// A drop-down list over a combo model whose selection the model keeps.
QComboBox *makeDropDown(CComboModel *model, const QString &name, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setModel(model);
    QObject::connect(model, &CComboModel::currentChanged, combo, &QComboBox::setCurrentIndex);
    QObject::connect(combo, &QComboBox::currentIndexChanged, model, &CComboModel::SetCurSel);
    return combo;
}

} // namespace

CDlgAsset_Tab1::CDlgAsset_Tab1(CADODataBase &db, qint32 homeId, bool video, QWidget *parent)
    : CPropertyPage(QStringLiteral("Details"), parent)
    , m_db(db)
    , m_homeId(homeId)
    , m_video(video)
{
    m_description = new QLineEdit(this);
    m_description->setObjectName(QStringLiteral("description"));
    auto *hint = new QLabel(video ? QStringLiteral("(e.g: The Godfather)")
                                  : QStringLiteral("(e.g: Van Gogh painting)"),
                            this);
    QPalette palette = hint->palette();
    palette.setColor(QPalette::WindowText, SharedLook::accentColor());
    hint->setPalette(palette);

    m_categories = new CComboModel(false, this);
    m_category = makeDropDown(m_categories, QStringLiteral("category"), this);
    m_categoriesButton = new QPushButton(QStringLiteral("C&ategories"), this);
    m_categoriesButton->setObjectName(QStringLiteral("categories"));
    m_categoriesButton->setAutoDefault(false);
    auto *categoryRow = new QHBoxLayout;
    categoryRow->addWidget(m_category, 1);
    categoryRow->addWidget(m_categoriesButton);

    m_locations = new CComboModel(false, this);
    m_location = makeDropDown(m_locations, QStringLiteral("location"), this);
    m_value = new QLineEdit(this);
    m_value->setObjectName(QStringLiteral("currentValue"));
    m_value->setMaximumWidth(160);

    m_form = new QFormLayout(this);
    m_form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_form->addRow(QStringLiteral("&Description:"), m_description);
    m_form->addRow(QString(), hint);
    auto *categoryLabel = new QLabel(QStringLiteral("&Category:"), this);
    categoryLabel->setBuddy(m_category);
    m_form->addRow(categoryLabel, categoryRow);
    m_form->addRow(QStringLiteral("&Location:"), m_location);
    m_form->addRow(QStringLiteral("Curr. &Value:"), m_value);

    if (video) {
        // A title's category is the video category, whatever the drop-down can show; location
        // and value mean nothing for it.
        m_category->setEnabled(false);
        m_categoriesButton->setEnabled(false);
        m_form->setRowVisible(m_location, false);
        m_form->setRowVisible(m_value, false);
    }
    setMinimumWidth(380);

    connect(m_categoriesButton, &QPushButton::clicked, this, &CDlgAsset_Tab1::onCategories);
}

void CDlgAsset_Tab1::fillCategories(qint32 selectId)
{
    Lookups::fillCategoryCombo(m_db, *m_categories, selectId, Lookups::AssetCategory, false);
    m_category->setCurrentIndex(m_categories->GetCurSel());
}

void CDlgAsset_Tab1::toControls()
{
    m_description->setText(m_strDescription);
    fillCategories(m_lCategoryId);
    if (!m_video) {
        Lookups::fillCombo(m_db, *m_locations, m_lAreaId,
                           sqlText("SELECT AreaId, Description FROM Areas WHERE HomeId=%ld ORDER "
                                   "BY Description;",
                                   long(m_homeId)),
                           false, QStringLiteral("(optional)"));
        m_location->setCurrentIndex(m_locations->GetCurSel());
    }
    m_value->setText(NumberEntry::text(m_fCurrentValue));
}

bool CDlgAsset_Tab1::fromControls()
{
    if (!requireText(*m_description, QStringLiteral("Please enter a description for this asset.")))
        return false;
    float value = m_fCurrentValue;
    if (!m_video && !readNumber(*m_value, value))
        return false;
    m_strDescription = m_description->text();
    m_lCategoryId = m_categories->GetItemData(m_categories->GetCurSel());
    m_lAreaId = m_locations->GetItemData(m_locations->GetCurSel());
    m_fCurrentValue = value;
    return true;
}

void CDlgAsset_Tab1::onActivated()
{
    m_description->setFocus(Qt::OtherFocusReason);
}

void CDlgAsset_Tab1::onCategories()
{
    const qint32 chosen = CDlgCategories::Choose(
        m_db, Lookups::AssetCategory, m_categories->GetItemData(m_categories->GetCurSel()), this);
    // The dialog may have renamed, added or deleted entries whatever it returns.
    fillCategories(chosen);
}
