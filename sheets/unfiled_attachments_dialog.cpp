#include "sheets/unfiled_attachments_dialog.h"

#include "controls/auto_list_ctrl.h"
#include "controls/combo_model.h"
#include "db/lookups.h"
#include "db/sql_text.h"
#include "format/display_text.h"
#include "format/string_table.h"
#include "widgets/attachment_actions.h"
#include "widgets/ui.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Attachments {
namespace {

enum Column { KindColumn, NameColumn, SizeColumn, WasColumn };

// The rows of ChooseOwnerDialog's list that stand for the home's own papers.
constexpr qint32 kPapersRow = -1;

// Where an attachment was filed: the asset by its number (its row has gone), the home by its
// name while it is still there.
QString wasWith(CADODataBase &db, const Attachment &a)
{
    const QString name =
        Lookups::lookUpValue(db, a.homeId, QStringLiteral("Homes"), QStringLiteral("HomeId"),
                             QStringLiteral("Description"));
    const QString home = name.isEmpty() ? QStringLiteral("home no. %1").arg(a.homeId) : name;
    if (a.assetId > 0)
        return QStringLiteral("Asset no. %1 of %2").arg(a.assetId).arg(home);
    return QStringLiteral("Papers of %1").arg(home);
}

} // namespace

UnfiledDialog::UnfiledDialog(CADODataBase &db, qint32 currentHomeId, QWidget *owner)
    : QDialog(owner)
    , m_db(db)
    , m_currentHomeId(currentHomeId)
{
    setObjectName(QStringLiteral("unfiledAttachments"));
    setWindowTitle(QStringLiteral("Unfiled Attachments"));

    auto *intro = new QLabel(
        QStringLiteral("These &files were kept with assets or homes that are no longer in the "
                       "data file, as a copy from the handheld can leave them. File each one "
                       "under an asset, or remove it."),
        this);
    intro->setWordWrap(true);

    m_list = new CAutoListCtrl(this, CAutoListCtrl::SingleSelection);
    m_list->setObjectName(QStringLiteral("unfiledList"));
    m_list->setAccessibleName(QStringLiteral("Unfiled attachments"));
    m_list->InsertColumn(KindColumn, QStringLiteral("Kind"), CListModel::FormatLeft, 70);
    m_list->InsertColumn(NameColumn, QStringLiteral("Name"), CListModel::FormatLeft, 170);
    m_list->InsertColumn(SizeColumn, QStringLiteral("Size"), CListModel::FormatRight, 60);
    m_list->InsertColumn(WasColumn, QStringLiteral("Was with"), CListModel::FormatLeft, 160);
    m_list->SetExtendedStyle(CAutoListCtrl::FullRowSelect);
    m_list->header()->setSectionsClickable(false);
    m_list->setMinimumSize(520, 200);
    intro->setBuddy(m_list);

    m_none = new QLabel(QStringLiteral("There are no unfiled attachments: every file kept in the "
                                       "data file belongs to an asset or a home."),
                        this);
    m_none->setObjectName(QStringLiteral("noUnfiled"));
    m_none->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(this);
    m_move = buttons->addButton(QStringLiteral("&Move to Asset..."), QDialogButtonBox::ActionRole);
    m_open = buttons->addButton(QStringLiteral("&Open"), QDialogButtonBox::ActionRole);
    m_save = buttons->addButton(QStringLiteral("&Save As..."), QDialogButtonBox::ActionRole);
    m_remove = buttons->addButton(QStringLiteral("&Remove"), QDialogButtonBox::ActionRole);
    auto *close = buttons->addButton(QStringLiteral("&Close"), QDialogButtonBox::RejectRole);
    const struct
    {
        QPushButton *button;
        const char *name;
    } named[] = { { m_move, "moveAttachment" },
                  { m_open, "openAttachment" },
                  { m_save, "saveAttachment" },
                  { m_remove, "removeAttachment" },
                  { close, "close" } };
    for (const auto &[button, name] : named) {
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
    }
    connect(m_move, &QPushButton::clicked, this, &UnfiledDialog::moveSelected);
    connect(m_open, &QPushButton::clicked, this, &UnfiledDialog::openSelected);
    connect(m_save, &QPushButton::clicked, this, &UnfiledDialog::saveSelected);
    connect(m_remove, &QPushButton::clicked, this, &UnfiledDialog::removeSelected);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &CAutoListCtrl::rowDoubleClicked, this, [this](int) { openSelected(); });
    connect(m_list, &CAutoListCtrl::deleteKeyPressed, this, &UnfiledDialog::removeSelected);
    connect(m_list, &CAutoListCtrl::selectedRowChanged, this, [this](int) { updateButtons(); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_none);
    layout->addWidget(buttons);
    setTabOrder(m_list, m_move);
    setTabOrder(m_move, m_open);
    setTabOrder(m_open, m_save);
    setTabOrder(m_save, m_remove);
    setTabOrder(m_remove, close);
    refill();
}

void UnfiledDialog::refill(qint64 selectId)
{
    {
        Ui::WaitCursor wait;
        m_shown = Attachments::unfiled(m_db);
    }
    m_list->SetRedraw(false);
    m_list->DeleteAllItems();
    int select = m_shown.empty() ? -1 : 0;
    for (size_t i = 0; i < m_shown.size(); ++i) {
        const Attachment &a = m_shown[i];
        const int row = m_list->InsertItem(-1, kindName(a.kind));
        m_list->SetItemText(row, NameColumn, a.fileName);
        m_list->SetItemText(row, SizeColumn, sizeText(a.size));
        m_list->SetItemText(row, WasColumn, wasWith(m_db, a));
        m_list->SetItemData(row, qint32(i + 1));
        if (a.id == selectId)
            select = row;
    }
    m_list->SetRedraw(true);
    if (select >= 0)
        m_list->SetCurSel(select);
    m_none->setVisible(m_shown.empty());
    updateButtons();
}

std::optional<Attachment> UnfiledDialog::selected() const
{
    const qint32 place = Lookups::selectedId(*m_list->model());
    if (place <= 0 || size_t(place) > m_shown.size())
        return std::nullopt;
    return m_shown[size_t(place - 1)];
}

void UnfiledDialog::updateButtons()
{
    const bool any = selected().has_value();
    for (QPushButton *button : { m_move, m_open, m_save, m_remove })
        button->setEnabled(any);
}

void UnfiledDialog::moveSelected()
{
    const std::optional<Attachment> current = selected();
    if (!current)
        return;
    ChooseOwnerDialog chooser(m_db, m_currentHomeId, current->fileName, this);
    if (Ui::runModal(chooser) != QDialog::Accepted || !chooser.assetId())
        return;
    if (!Attachments::moveTo(m_db, current->id, chooser.homeId(), *chooser.assetId()))
        Ui::messageBox(this,
                       QStringLiteral("\u201C%1\u201D could not be filed in the data file.")
                           .arg(current->fileName),
                       Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Ok);
    else
        m_changed = true;
    refill();
}

void UnfiledDialog::openSelected()
{
    if (const std::optional<Attachment> current = selected())
        Attachments::open(this, m_db, *current);
}

void UnfiledDialog::saveSelected()
{
    if (const std::optional<Attachment> current = selected())
        Attachments::saveAs(this, m_db, *current);
}

void UnfiledDialog::removeSelected()
{
    const std::optional<Attachment> current = selected();
    if (!current)
        return;
    if (Ui::messageBox(
            this,
            QStringLiteral("\u201C%1\u201D will be removed from the data file. Continue?")
                .arg(current->fileName),
            Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Yes | Ui::No)
        != Ui::Yes)
        return;
    bool removed = false;
    {
        Ui::WaitCursor wait;
        removed = Attachments::remove(m_db, current->id);
    }
    if (removed)
        m_changed = true;
    else
        Ui::messageBox(this,
                       QStringLiteral("\u201C%1\u201D could not be removed from the data file.")
                           .arg(current->fileName),
                       Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Ok);
    refill();
}

ChooseOwnerDialog::ChooseOwnerDialog(CADODataBase &db, qint32 homeId, const QString &fileName,
                                     QWidget *owner)
    : QDialog(owner)
    , m_db(db)
{
    setObjectName(QStringLiteral("chooseOwner"));
    setWindowTitle(QStringLiteral("Move to Asset"));

    auto *intro =
        new QLabel(QStringLiteral("Where should \u201C%1\u201D be kept?").arg(fileName), this);
    intro->setWordWrap(true);
    intro->setTextFormat(Qt::PlainText);

    auto *homes = new CComboModel(false, this);
    Lookups::fillCombo(
        db, *homes, homeId,
        QStringLiteral("SELECT HomeId, Description FROM Homes ORDER BY Description;"), false,
        QString());
    m_homes = new QComboBox(this);
    m_homes->setObjectName(QStringLiteral("home"));
    m_homes->setModel(homes);
    m_homes->setCurrentIndex(std::max(0, homes->GetCurSel()));
    connect(m_homes, &QComboBox::currentIndexChanged, this, &ChooseOwnerDialog::fillAssets);

    m_assets = new CAutoListCtrl(this, CAutoListCtrl::NoHeader | CAutoListCtrl::SingleSelection);
    m_assets->setObjectName(QStringLiteral("asset"));
    m_assets->InsertColumn(0, QStringLiteral("Asset"), CListModel::FormatLeft, 220);
    m_assets->SetExtendedStyle(CAutoListCtrl::FullRowSelect);
    m_assets->setMinimumSize(300, 220);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setText(QStringLiteral("&Move"));
    m_ok->setObjectName(QStringLiteral("ok"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_assets, &CAutoListCtrl::rowDoubleClicked, this, [this](int) {
        if (assetId())
            accept();
    });
    connect(m_assets, &CAutoListCtrl::selectedRowChanged, this,
            [this](int) { m_ok->setEnabled(assetId().has_value()); });

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Home:"), m_homes);
    form->addRow(QStringLiteral("&Asset:"), m_assets);
    for (QWidget *field : { static_cast<QWidget *>(m_homes), static_cast<QWidget *>(m_assets) }) {
        if (auto *label = qobject_cast<QLabel *>(form->labelForField(field)))
            field->setAccessibleName(label->text().remove(QLatin1Char('&')).chopped(1));
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form, 1);
    layout->addWidget(buttons);
    fillAssets();
}

void ChooseOwnerDialog::fillAssets()
{
    const qint32 home = homeId();
    Lookups::fillList(m_db, *m_assets->model(), QStringLiteral("Assets"), QStringLiteral("AssetId"),
                      0, sqlText("WHERE HomeId=%ld", long(home)));
    if (home > 0) {
        m_assets->InsertItem(0, QStringLiteral("(The home's own papers)"));
        m_assets->SetItemData(0, kPapersRow);
    }
    m_assets->SetCurSel(m_assets->GetItemCount() > 0 ? 0 : -1);
    m_ok->setEnabled(assetId().has_value());
}

qint32 ChooseOwnerDialog::homeId() const
{
    const auto *model = static_cast<const CComboModel *>(m_homes->model());
    const int current = m_homes->currentIndex();
    return current >= 0 ? model->GetItemData(current) : 0;
}

std::optional<qint32> ChooseOwnerDialog::assetId() const
{
    const qint32 chosen = Lookups::selectedId(*m_assets->model());
    if (chosen == 0 || homeId() <= 0)
        return std::nullopt;
    return chosen == kPapersRow ? kHomeItself : chosen;
}

} // namespace Attachments
