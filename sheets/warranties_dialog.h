#pragma once
// Warranties::Dialog: "Warranties" lists the current home's warranties that ended in the last 30
// days, end within 30 days or end within 12 months, in those three groups, by date. Double
// click or Enter on one opens the asset's sheet; the list follows the edit.

#include <QDate>
#include <QDialog>

class CADODataBase;
class CAutoListCtrl;
class QLabel;
class QPushButton;

namespace Warranties {

class Dialog : public QDialog
{
    Q_OBJECT
public:
    Dialog(CADODataBase &db, qint32 homeId, const QString &homeName, const QDate &today,
           QWidget *owner = nullptr);

    // Lists the warranties afresh, selecting assetId when listed (else the first warranty).
    void refill(qint32 assetId);
    // The selected warranty's asset in its sheet; on OK the list is filled again.
    void editSelected();

    CAutoListCtrl *list() const { return m_list; }
    // Shown instead of the list's rows when no warranty is in any group.
    QLabel *noneLine() const { return m_none; }

signals:
    // An asset was edited and saved from here.
    void assetEdited(qint32 assetId);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    qint32 selectedId() const;
    void updateButtons();

    CADODataBase &m_db;
    qint32 m_homeId;
    QDate m_today;
    CAutoListCtrl *m_list = nullptr;
    QLabel *m_none = nullptr;
    QPushButton *m_properties = nullptr;
};

} // namespace Warranties
