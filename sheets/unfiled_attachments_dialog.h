#pragma once
// Attachments::UnfiledDialog: "Unfiled Attachments" (Tools menu) lists the attachments whose
// asset or home is no longer in the data file, as a copy back from the handheld can leave them
// (the handheld knows nothing of attachments and its data replaces the desktop's). They are
// never deleted silently: here each is filed under an asset or a home (Move to Asset), opened,
// saved elsewhere, or removed.
//
// Attachments::ChooseOwnerDialog: "Move to Asset", the home and the asset (or the home's own
// papers) an attachment goes to.

#include "records/attachments.h"

#include <QDialog>

#include <optional>
#include <vector>

class CADODataBase;
class CAutoListCtrl;
class QComboBox;
class QLabel;
class QPushButton;

namespace Attachments {

class UnfiledDialog : public QDialog
{
    Q_OBJECT
public:
    UnfiledDialog(CADODataBase &db, qint32 currentHomeId, QWidget *owner = nullptr);

    // Lists the unfiled attachments afresh, selecting id when listed (else the first).
    void refill(qint64 selectId = 0);
    void moveSelected();
    void openSelected();
    void saveSelected();
    void removeSelected();

    CAutoListCtrl *list() const { return m_list; }
    // Shown when nothing is unfiled.
    QLabel *noneLine() const { return m_none; }
    // Whether anything was filed or removed here (the lists that show attachments follow).
    bool changedAny() const { return m_changed; }

private:
    std::optional<Attachment> selected() const;
    void updateButtons();

    CADODataBase &m_db;
    qint32 m_currentHomeId;
    std::vector<Attachment> m_shown;
    bool m_changed = false;
    CAutoListCtrl *m_list = nullptr;
    QLabel *m_none = nullptr;
    QPushButton *m_move = nullptr;
    QPushButton *m_open = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_remove = nullptr;
};

class ChooseOwnerDialog : public QDialog
{
    Q_OBJECT
public:
    // Opens on homeId's assets (the first home when it has none).
    ChooseOwnerDialog(CADODataBase &db, qint32 homeId, const QString &fileName,
                      QWidget *owner = nullptr);

    qint32 homeId() const;
    // kHomeItself for the home's own papers; nothing while no row is chosen.
    std::optional<qint32> assetId() const;

    QComboBox *homes() const { return m_homes; }
    CAutoListCtrl *assets() const { return m_assets; }

private:
    void fillAssets();

    CADODataBase &m_db;
    QComboBox *m_homes = nullptr;
    CAutoListCtrl *m_assets = nullptr;
    QPushButton *m_ok = nullptr;
};

} // namespace Attachments
