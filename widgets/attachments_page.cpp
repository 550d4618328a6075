#include "widgets/attachments_page.h"

#include "controls/auto_list_ctrl.h"
#include "db/lookups.h"
#include "format/display_text.h"
#include "format/string_table.h"
#include "widgets/attachment_actions.h"
#include "widgets/ui.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace Attachments {
namespace {

enum Column { KindColumn, NameColumn, SizeColumn, AddedColumn };

// The local files a drag carries; none for anything else (text, addresses on the web).
QStringList droppedFiles(const QMimeData *mime)
{
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile())
            files << url.toLocalFile();
    }
    return files;
}

QPushButton *pageButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

Page::Page(CADODataBase &db, qint32 homeId, qint32 assetId, bool ownerStored, const QString &noun,
           QWidget *parent)
    : CPropertyPage(QStringLiteral("Attachments"), parent)
    , m_db(db)
    , m_homeId(homeId)
    , m_assetId(assetId)
    , m_ownerStored(ownerStored)
{
    auto *intro = new QLabel(
        assetId == kHomeItself
            ? QStringLiteral("The home's own papers, kept in the data file: the deed, the "
                             "insurance policy, photos of the home.")
            : QStringLiteral("Files kept in the data file with this asset: receipts, photos from "
                             "every side, the serial plate, the manual."),
        this);
    intro->setWordWrap(true);

    m_list = new CAutoListCtrl(this, CAutoListCtrl::SingleSelection);
    m_list->setObjectName(QStringLiteral("attachments"));
    m_list->setAccessibleName(QStringLiteral("Attachments"));
    m_list->InsertColumn(KindColumn, QStringLiteral("Kind"), CListModel::FormatLeft, 70);
    m_list->InsertColumn(NameColumn, QStringLiteral("Name"), CListModel::FormatLeft, 150);
    m_list->InsertColumn(SizeColumn, QStringLiteral("Size"), CListModel::FormatRight, 60);
    m_list->InsertColumn(AddedColumn, QStringLiteral("Added"), CListModel::FormatLeft, 70);
    m_list->SetExtendedStyle(CAutoListCtrl::FullRowSelect);
    // The rows keep the order of kind and name: sizes are shown as "12.5 MB", which the list's
    // own sorting does not read.
    m_list->header()->setSectionsClickable(false);
    // Room for the four columns of a usual file name without scrolling.
    m_list->setMinimumSize(390, 160);
    m_list->viewport()->setAcceptDrops(true);
    m_list->viewport()->installEventFilter(this);
    intro->setBuddy(m_list);

    m_add = pageButton(QStringLiteral("&Add..."), QStringLiteral("addAttachments"), this);
    m_open = pageButton(QStringLiteral("&Open"), QStringLiteral("openAttachment"), this);
    m_saveAs = pageButton(QStringLiteral("&Save As..."), QStringLiteral("saveAttachment"), this);
    m_remove = pageButton(QStringLiteral("&Remove"), QStringLiteral("removeAttachment"), this);
    m_picture = pageButton(QStringLiteral("Use as &Picture"), QStringLiteral("useAsPicture"), this);
    m_picture->setCheckable(true);
    m_picture->setToolTip(QStringLiteral("Show this photo as the %1's picture").arg(noun));
    connect(m_add, &QPushButton::clicked, this, &Page::OnAdd);
    connect(m_open, &QPushButton::clicked, this, &Page::OnOpen);
    connect(m_saveAs, &QPushButton::clicked, this, &Page::OnSaveAs);
    connect(m_remove, &QPushButton::clicked, this, &Page::OnRemove);
    connect(m_picture, &QPushButton::clicked, this, &Page::onUsePicture);
    connect(m_list, &CAutoListCtrl::rowDoubleClicked, this, [this](int) { OnOpen(); });
    connect(m_list, &CAutoListCtrl::deleteKeyPressed, this, &Page::OnRemove);
    connect(m_list, &CAutoListCtrl::selectedRowChanged, this, [this](int) { updateButtons(); });

    auto *kindLabel = new QLabel(QStringLiteral("&Kind:"), this);
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("attachmentKind"));
    for (Kind kind : kKinds)
        m_kind->addItem(kindName(kind), int(kind));
    kindLabel->setBuddy(m_kind);
    connect(m_kind, &QComboBox::activated, this, &Page::onKindChosen);

    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("attachmentsNote"));
    m_note->setWordWrap(true);
    m_note->setText(ownerStored
                        ? QStringLiteral("You may also drop files here from your file manager.")
                        : QStringLiteral("Files can be attached once the %1 has been saved: "
                                         "choose OK, then open the %1 again.")
                              .arg(noun));

    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : { m_add, m_open, m_saveAs, m_remove, m_picture })
        buttons->addWidget(button);
    buttons->addStretch(1);
    auto *listRow = new QHBoxLayout;
    listRow->addWidget(m_list, 1);
    listRow->addLayout(buttons);
    auto *kindRow = new QHBoxLayout;
    kindRow->addWidget(kindLabel);
    kindRow->addWidget(m_kind);
    kindRow->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(listRow, 1);
    layout->addLayout(kindRow);
    layout->addWidget(m_note);

    setTabOrder(m_list, m_add);
    setTabOrder(m_add, m_open);
    setTabOrder(m_open, m_saveAs);
    setTabOrder(m_saveAs, m_remove);
    setTabOrder(m_remove, m_picture);
    setTabOrder(m_picture, m_kind);
    updateButtons();
}

void Page::Fill(qint64 selectId)
{
    if (!m_ownerStored) {
        updateButtons();
        return;
    }
    {
        Ui::WaitCursor wait;
        m_shown = Attachments::list(m_db, m_homeId, m_assetId);
    }
    m_list->SetRedraw(false);
    m_list->DeleteAllItems();
    int select = m_shown.empty() ? -1 : 0;
    for (size_t i = 0; i < m_shown.size(); ++i) {
        const Attachment &a = m_shown[i];
        QString kind = kindName(a.kind);
        if (a.isPicture)
            kind += QStringLiteral(" (picture)");
        const int row = m_list->InsertItem(-1, kind);
        m_list->SetItemText(row, NameColumn, a.fileName);
        m_list->SetItemText(row, SizeColumn, sizeText(a.size));
        m_list->SetItemText(row, AddedColumn, dateText(a.added, false));
        // Rows carry their place in m_shown: ids of the engine's own can outgrow 32 bits.
        m_list->SetItemData(row, qint32(i + 1));
        if (a.id == selectId)
            select = row;
    }
    m_list->SetRedraw(true);
    if (select >= 0) {
        m_list->SetCurSel(select);
        m_list->EnsureVisible(select);
    }
    updateButtons();
}

std::optional<Attachment> Page::selected() const
{
    const qint32 place = Lookups::selectedId(*m_list->model());
    if (place <= 0 || size_t(place) > m_shown.size())
        return std::nullopt;
    return m_shown[size_t(place - 1)];
}

void Page::updateButtons()
{
    const std::optional<Attachment> current = selected();
    m_list->setEnabled(m_ownerStored);
    m_add->setEnabled(m_ownerStored);
    for (QPushButton *button : { m_open, m_saveAs, m_remove })
        button->setEnabled(current.has_value());
    m_picture->setEnabled(current && current->isImage());
    m_picture->setChecked(current && current->isPicture);
    m_kind->setEnabled(current.has_value());
    if (current)
        m_kind->setCurrentIndex(m_kind->findData(int(current->kind)));
}

void Page::AddFiles(const QStringList &paths)
{
    if (!m_ownerStored || paths.isEmpty())
        return;
    const std::vector<qint64> added = addFiles(this, m_db, paths, m_homeId, m_assetId);
    Fill(added.empty() ? (selected() ? selected()->id : 0) : added.back());
}

void Page::OnAdd()
{
    if (!m_ownerStored)
        return;
    AddFiles(
        Ui::openFileNames(this, QStringLiteral("Add Attachments"), QString(),
                          QStringLiteral("All Files (*);;Pictures (*.jpg *.jpeg *.png *.gif "
                                         "*.bmp *.webp *.tif *.tiff);;PDF Documents (*.pdf)")));
}

void Page::OnOpen()
{
    if (const std::optional<Attachment> current = selected())
        Attachments::open(this, m_db, *current);
}

void Page::OnSaveAs()
{
    if (const std::optional<Attachment> current = selected())
        Attachments::saveAs(this, m_db, *current);
}

void Page::OnRemove()
{
    const std::optional<Attachment> current = selected();
    if (!current)
        return;
    QString question =
        QStringLiteral("\u201C%1\u201D will be removed from the data file.").arg(current->fileName);
    if (current->isPicture)
        question +=
            QStringLiteral(" It is the picture shown for this %1.")
                .arg(m_assetId == kHomeItself ? QStringLiteral("home") : QStringLiteral("asset"));
    question += QStringLiteral(" Continue?");
    if (Ui::messageBox(this, question, Strings::load(Strings::AppTitle), Ui::Icon::Warning,
                       Ui::Yes | Ui::No)
        != Ui::Yes)
        return;
    bool removed = false;
    {
        Ui::WaitCursor wait;
        removed = Attachments::remove(m_db, current->id);
    }
    if (!removed)
        Ui::messageBox(this,
                       QStringLiteral("\u201C%1\u201D could not be removed from the data file.")
                           .arg(current->fileName),
                       Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Ok);
    Fill();
    if (current->isPicture)
        emit pictureChanged();
}

void Page::onUsePicture(bool use)
{
    const std::optional<Attachment> current = selected();
    if (!current)
        return;
    if (!setPicture(m_db, current->id, use))
        Ui::messageBox(this, QStringLiteral("The picture could not be changed in the data file."),
                       Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Ok);
    Fill(current->id);
    emit pictureChanged();
}

void Page::onKindChosen(int index)
{
    const std::optional<Attachment> current = selected();
    if (!current)
        return;
    const Kind kind = kindOf(m_kind->itemData(index).toInt());
    if (kind == current->kind)
        return;
    if (!setKind(m_db, current->id, kind))
        Ui::messageBox(this, QStringLiteral("The kind could not be changed in the data file."),
                       Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Ok);
    Fill(current->id);
}

bool Page::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list->viewport() && m_ownerStored) {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto *drag = static_cast<QDragMoveEvent *>(event);
            if (!droppedFiles(drag->mimeData()).isEmpty()) {
                drag->setDropAction(Qt::CopyAction);
                drag->accept();
                return true;
            }
            break;
        }
        case QEvent::Drop: {
            auto *drop = static_cast<QDropEvent *>(event);
            const QStringList files = droppedFiles(drop->mimeData());
            if (files.isEmpty())
                break;
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            AddFiles(files);
            return true;
        }
        default:
            break;
        }
    }
    return CPropertyPage::eventFilter(watched, event);
}

} // namespace Attachments
