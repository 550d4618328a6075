#pragma once
// Attachments::Page: the Attachments page of the asset and home sheets. The files kept in the
// data file with the asset (or with the home: deed, insurance policy), with their kind, name,
// size and date added; files are added with Add (several at once) or by dropping them from the
// desktop's file manager, opened with the desktop's program, saved elsewhere, removed, given
// another kind, and a photo can be made the asset's (or home's) picture. Every change is saved
// at once, whatever then becomes of the sheet, as the Loans page does.

#include "records/attachments.h"
#include "widgets/property_page.h"

#include <optional>

class CADODataBase;
class CAutoListCtrl;
class QComboBox;
class QLabel;
class QPushButton;

namespace Attachments {

class Page : public CPropertyPage
{
    Q_OBJECT
public:
    // assetId kHomeItself: the home's own papers. ownerStored false (a record not saved yet):
    // the page says that attachments come once it is, and offers nothing else. noun names the
    // owner in its texts ("asset", "home").
    Page(CADODataBase &db, qint32 homeId, qint32 assetId, bool ownerStored, const QString &noun,
         QWidget *parent = nullptr);

    void toControls() override { Fill(); }
    bool fromControls() override { return true; }

    // Reads the list again, selecting the attachment id (else the first row).
    void Fill(qint64 selectId = 0);
    // Adds the files (as Add and a drop do) and lists them, the last one added selected.
    void AddFiles(const QStringList &paths);

    void OnAdd();
    void OnOpen();
    void OnSaveAs();
    void OnRemove();

    CAutoListCtrl *list() const { return m_list; }
    // The attachment of the selected row.
    std::optional<Attachment> selected() const;

signals:
    // The owner's picture was chosen or given up here.
    void pictureChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateButtons();
    void onUsePicture(bool use);
    void onKindChosen(int index);

    CADODataBase &m_db;
    qint32 m_homeId;
    qint32 m_assetId;
    bool m_ownerStored;
    std::vector<Attachment> m_shown;
    CAutoListCtrl *m_list = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_open = nullptr;
    QPushButton *m_saveAs = nullptr;
    QPushButton *m_remove = nullptr;
    QPushButton *m_picture = nullptr;
    QComboBox *m_kind = nullptr;
    QLabel *m_note = nullptr;
};

} // namespace Attachments
