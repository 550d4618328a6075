#include "sheets/shopping_item_dialog.h"

#include "controls/combo_model.h"
#include "db/lookups.h"
#include "format/string_table.h"
#include "widgets/number_entry.h"
#include "widgets/text_combo.h"
#include "widgets/ui.h"
#include "widgets/up_down_entry.h"

#include "sheets/categories_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The first entry that begins with text (letter case ignored), or -1. An empty text matches
// nothing, so an item without a unit or store opens with an empty box.
int findPrefix(const QComboBox &combo, const QString &text)
{
    if (text.isEmpty())
        return -1;
    for (int i = 0; i < combo.count(); ++i) {
        if (combo.itemText(i).startsWith(text, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

// Shows the first entry that begins with text, or else text as typed.
void selectOrType(QComboBox &combo, const QString &text)
{
    const int match = findPrefix(combo, text);
    combo.setCurrentIndex(match);
    if (match < 0)
        combo.setEditText(text);
}

QComboBox *editableCombo(const QString &name, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    TextCombo::makeEditable(*combo);
    return combo;
}

} // namespace

CDlgShoppingItem::CDlgShoppingItem(CADODataBase &db, const CTask &item, QWidget *owner)
    : QDialog(owner)
    , m_db(db)
    , m_item(item)
{
    setWindowTitle(QStringLiteral("Shopping List Item"));
    setObjectName(QStringLiteral("shoppingItem"));

    m_description = new QLineEdit(this);
    m_description->setObjectName(QStringLiteral("description"));
    m_description->setMinimumWidth(260);
    m_quantity = new CUpDownEntry(QStringLiteral("quantity"), 0.0, kMaximum, this);
    m_quantity->setMinimumWidth(90);
    m_unit = editableCombo(QStringLiteral("unit"), this);
    m_unit->setAccessibleName(QStringLiteral("Unit"));
    // The units come alphabetically, whatever order the string lists them in.
    QStringList units =
        Strings::load(Strings::ShoppingUnits).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    units.sort(Qt::CaseInsensitive);
    m_unit->addItems(units);
    m_store = editableCombo(QStringLiteral("store"), this);
    m_stores = new CComboModel(false, m_store);
    m_store->setModel(m_stores);
    m_storesButton = new QPushButton(QStringLiteral("Stores"), this);
    m_storesButton->setObjectName(QStringLiteral("stores"));
    m_storesButton->setAccessibleDescription(QStringLiteral("Edit the list of stores"));
    m_price = new CUpDownEntry(QStringLiteral("price"), 0.0, kMaximum, this);
    m_price->setMinimumWidth(90);
    m_coupon = new QCheckBox(QStringLiteral("Use Co&upon"), this);
    m_coupon->setObjectName(QStringLiteral("coupon"));
    m_aisle = editableCombo(QStringLiteral("aisle"), this);
    for (int aisle = 1; aisle <= 20; ++aisle)
        m_aisle->addItem(QString::number(aisle));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgShoppingItem::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgShoppingItem::reject);

    auto *grid = new QGridLayout;
    int row = 0;
    auto label = [&](const QString &caption, QWidget *buddy) {
        auto *text = new QLabel(caption, this);
        text->setBuddy(buddy);
        grid->addWidget(text, row, 0);
    };
    label(QStringLiteral("&Description:"), m_description);
    grid->addWidget(m_description, row++, 1, 1, 3);
    // The up-down box, not its edit: a screen reader sees the box alone and names it by its label.
    label(QStringLiteral("&Qty/Amount:"), m_quantity);
    grid->addWidget(m_quantity, row, 1);
    grid->addWidget(m_unit, row++, 2);
    label(QStringLiteral("&Store:"), m_store);
    grid->addWidget(m_store, row, 1, 1, 2);
    grid->addWidget(m_storesButton, row++, 3);
    label(QStringLiteral("&Aisle/Location:"), m_aisle);
    grid->addWidget(m_aisle, row++, 1);
    label(QStringLiteral("&Price:"), m_price);
    grid->addWidget(m_price, row, 1);
    grid->addWidget(m_coupon, row++, 2, 1, 2);
    grid->setColumnStretch(2, 1);
    for (QComboBox *combo : { m_unit, m_store, m_aisle })
        TextCombo::nameEdit(*combo);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_description, m_quantity->edit());
    setTabOrder(m_quantity->edit(), m_unit);
    setTabOrder(m_unit, m_store);
    setTabOrder(m_store, m_storesButton);
    setTabOrder(m_storesButton, m_aisle);
    setTabOrder(m_aisle, m_price->edit());
    setTabOrder(m_price->edit(), m_coupon);

    connect(m_storesButton, &QPushButton::clicked, this, &CDlgShoppingItem::chooseStores);

    toControls();
}

void CDlgShoppingItem::toControls()
{
    m_description->setText(m_item.m_strDescription);
    m_quantity->edit()->setText(NumberEntry::text(m_item.m_fCustom1));
    selectOrType(*m_unit, m_item.m_strNotes);
    fillStores(m_item.m_strVendor);
    m_price->edit()->setText(NumberEntry::text(m_item.m_fCost));
    m_coupon->setChecked(m_item.m_nCustom2 != 0);
    m_aisle->setCurrentIndex(-1);
    m_aisle->setEditText(m_item.m_strCustom3);
    m_description->setFocus(Qt::OtherFocusReason);
}

void CDlgShoppingItem::fillStores(const QString &select)
{
    TaskList::fillStores(m_db, *m_stores);
    selectOrType(*m_store, select);
}

void CDlgShoppingItem::chooseStores()
{
    const int current = m_store->currentIndex();
    const bool listed = current >= 0 && m_store->currentText() == m_store->itemText(current);
    const qint32 chosen = CDlgCategories::Choose(m_db, Lookups::Store,
                                                 listed ? m_stores->GetItemData(current) : 0, this);
    const QString typed = m_store->currentText();
    TaskList::fillStores(m_db, *m_stores);
    const int match = m_stores->FindItemData(chosen);
    if (chosen > 0 && match >= 0) {
        m_store->setCurrentIndex(match);
    } else {
        // The chosen store is gone (deleted) or none was chosen: the box keeps exactly what it
        // showed. Matching a prefix here would put another store on the item, a deleted "Home"
        // becoming "Home Improvement Center".
        const int same = m_store->findText(typed);
        m_store->setCurrentIndex(same);
        if (same < 0)
            m_store->setEditText(typed);
    }
    m_store->setFocus(Qt::OtherFocusReason);
}

bool CDlgShoppingItem::fromControls()
{
    // Read both numbers before taking anything over, so a refusal leaves the copy untouched.
    auto readNumber = [this](CUpDownEntry &entry, float shown) -> std::optional<float> {
        // An entry still showing the value's own text keeps the exact value: the short form
        // would round it on every OK.
        if (entry.text() == NumberEntry::text(shown))
            return shown;
        const std::optional<float> number = NumberEntry::read(entry.text());
        if (!number) {
            Ui::messageBox(this, NumberEntry::refusal(), Strings::load(Strings::AppTitle),
                           Ui::Icon::Information, Ui::Ok);
            entry.edit()->setFocus(Qt::OtherFocusReason);
            entry.edit()->selectAll();
        }
        return number;
    };
    const std::optional<float> quantity = readNumber(*m_quantity, m_item.m_fCustom1);
    if (!quantity)
        return false;
    const std::optional<float> price = readNumber(*m_price, m_item.m_fCost);
    if (!price)
        return false;

    m_item.m_strDescription = m_description->text();
    m_item.m_fCustom1 = *quantity;
    m_item.m_strNotes = m_unit->currentText();
    m_item.m_strVendor = m_store->currentText();
    m_item.m_fCost = *price;
    m_item.m_nCustom2 = m_coupon->isChecked() ? 1 : 0;
    m_item.m_strCustom3 = m_aisle->currentText();
    return true;
}

void CDlgShoppingItem::accept()
{
    if (!fromControls())
        return;
    if (m_commit && !m_commit())
        return;
    QDialog::accept();
}

int CDlgShoppingItem::DoModal()
{
    return Ui::runModal(*this);
}
