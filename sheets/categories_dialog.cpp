#include "sheets/categories_dialog.h"

#include "controls/auto_list_ctrl.h"
#include "controls/combo_model.h"
#include "db/lookups.h"
#include "db/sql_text.h"
#include "format/string_table.h"
#include "records/categories.h"
#include "widgets/ui.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton *makeButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

CDlgCategories::CDlgCategories(CADODataBase &db, int categoryType, qint32 chosenId, QWidget *owner)
    : QDialog(owner)
    , m_db(db)
    , m_categoryType(categoryType)
    , m_chosenId(chosenId)
{
    setWindowTitle(QStringLiteral("Categories"));
    setObjectName(QStringLiteral("categoriesDialog"));

    m_list = new CAutoListCtrl(this, CAutoListCtrl::NoHeader | CAutoListCtrl::SingleSelection);
    m_list->setObjectName(QStringLiteral("categories"));
    m_list->setAccessibleName(QStringLiteral("Categories"));
    m_list->InsertColumn(0, QStringLiteral("Categories"), CListModel::FormatLeft, 200);
    m_list->SetExtendedStyle(CAutoListCtrl::FullRowSelect);
    m_list->setMinimumSize(220, 220);

    auto *newButton = makeButton(QStringLiteral("&New"), QStringLiteral("new"), this);
    auto *renameButton = makeButton(QStringLiteral("&Rename"), QStringLiteral("rename"), this);
    auto *deleteButton = makeButton(QStringLiteral("&Delete"), QStringLiteral("delete"), this);
    auto *okButton = makeButton(QStringLiteral("&OK"), QStringLiteral("ok"), this);
    okButton->setDefault(true);
    auto *cancelButton = makeButton(QStringLiteral("Cancel"), QStringLiteral("cancel"), this);

    connect(newButton, &QPushButton::clicked, this, &CDlgCategories::OnNew);
    connect(renameButton, &QPushButton::clicked, this, &CDlgCategories::OnRename);
    connect(deleteButton, &QPushButton::clicked, this, &CDlgCategories::OnDelete);
    connect(okButton, &QPushButton::clicked, this, &CDlgCategories::accept);
    connect(cancelButton, &QPushButton::clicked, this, &CDlgCategories::reject);
    connect(m_list, &CAutoListCtrl::rowDoubleClicked, this, [this](int row) {
        if (row >= 0) {
            m_list->SetCurSel(row);
            accept();
        }
    });

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    buttons->addSpacing(16);
    buttons->addWidget(newButton);
    buttons->addWidget(renameButton);
    buttons->addWidget(deleteButton);
    buttons->addStretch(1);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    fill();
}

qint32 CDlgCategories::Choose(CADODataBase &db, int categoryType, qint32 chosenId, QWidget *owner)
{
    CDlgCategories dialog(db, categoryType, chosenId, owner);
    Ui::runModal(dialog);
    return dialog.chosenId();
}

void CDlgCategories::FillTaskCategories(CADODataBase &db, CComboModel &model, QComboBox &combo,
                                        qint32 selectId)
{
    Lookups::fillCategoryCombo(db, model, selectId, Lookups::TaskCategory, true);
    combo.setCurrentIndex(model.GetCurSel());
}

void CDlgCategories::ChooseTaskCategory(CADODataBase &db, CComboModel &model, QComboBox &combo)
{
    const int current = combo.currentIndex();
    const qint32 chosen = Choose(db, Lookups::TaskCategory,
                                 current >= 0 ? model.GetItemData(current) : 0, combo.window());
    FillTaskCategories(db, model, combo, chosen);
    combo.setFocus(Qt::OtherFocusReason);
}

void CDlgCategories::fill()
{
    Lookups::fillList(m_db, *m_list->model(), QStringLiteral("Categories"),
                      QStringLiteral("CategoryId"), m_chosenId,
                      sqlText("WHERE CategoryType=%d ", m_categoryType));
    m_list->setFocus(Qt::OtherFocusReason);
}

bool CDlgCategories::selected(qint32 &id, int &row) const
{
    return Lookups::selectedRow(*m_list->model(), id, row);
}

bool CDlgCategories::askName(QString &name)
{
    CDlgCategoryName dialog(name, this);
    if (Ui::runModal(dialog) != QDialog::Accepted)
        return false;
    name = dialog.name();
    return true;
}

void CDlgCategories::OnNew()
{
    QString name;
    if (!askName(name))
        return;
    qint32 id = -1;
    {
        Ui::WaitCursor wait;
        id = Categories::create(m_db, name, m_categoryType);
    }
    if (id <= 0) {
        Ui::messageBox(this, QStringLiteral("The category could not be added to the data file."),
                       Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Ok);
        return;
    }
    m_chosenId = id;
    fill();
}

void CDlgCategories::OnRename()
{
    qint32 id = 0;
    int row = -1;
    if (!selected(id, row))
        return;
    QString name = m_list->GetItemText(row, 0);
    if (!askName(name))
        return;
    if (Categories::rename(m_db, id, name))
        m_chosenId = id;
    fill();
}

void CDlgCategories::OnDelete()
{
    qint32 id = 0;
    int row = -1;
    if (!selected(id, row))
        return;
    const int answer =
        Ui::messageBox(this, QStringLiteral("This category will be deleted. Continue?"),
                       Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Yes | Ui::No);
    if (answer != Ui::Yes)
        return;
    bool removed = false;
    {
        Ui::WaitCursor wait;
        removed = Categories::remove(m_db, id);
    }
    // The chosen id stays as it was, even when it named the deleted row: the caller's
    // drop-down then falls back to its first entry. A failed delete changed nothing, so the
    // list is read again to show what the file holds.
    if (removed)
        m_list->DeleteItem(row);
    else
        fill();
}

void CDlgCategories::accept()
{
    qint32 id = 0;
    int row = -1;
    if (selected(id, row))
        m_chosenId = id;
    QDialog::accept();
}

CDlgCategoryName::CDlgCategoryName(const QString &name, QWidget *owner)
    : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Category"));
    setObjectName(QStringLiteral("categoryNameDialog"));
    m_edit = new QLineEdit(name, this);
    m_edit->setObjectName(QStringLiteral("name"));
    m_edit->setMinimumWidth(240);
    auto *label = new QLabel(QStringLiteral("&Name:"), this);
    label->setBuddy(m_edit);

    auto *buttons = new QDialogButtonBox(this);
    auto *save = buttons->addButton(QStringLiteral("&Save"), QDialogButtonBox::AcceptRole);
    save->setObjectName(QStringLiteral("ok"));
    save->setDefault(true);
    auto *cancel = buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_edit, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_edit->selectAll();
}

QString CDlgCategoryName::name() const
{
    return m_edit->text();
}
