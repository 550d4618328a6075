#pragma once
// CDlgShoppingItem: the "Shopping List Item" dialog. It edits a copy of a shopping item; OK
// reads the controls back (refusing a quantity or price that is not a number) and hands over
// to the owner's commit step, which saves the item.

#include "records/task.h"

#include <QDialog>

#include <functional>

class CADODataBase;
class CComboModel;
class CUpDownEntry;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class CDlgShoppingItem : public QDialog
{
    Q_OBJECT
public:
    // db is read for the store list only.
    CDlgShoppingItem(CADODataBase &db, const CTask &item, QWidget *owner = nullptr);

    // The item with the values read back on OK; the columns the dialog does not show are kept.
    CTask edited() const { return m_item; }

    // Runs after the controls were read back on OK; returning false keeps the dialog open.
    void setCommit(std::function<bool()> commit) { m_commit = std::move(commit); }
    // Runs the dialog through the Ui seam; QDialog::Accepted when confirmed and committed.
    int DoModal();

    // The up-down limits of the quantity and the price.
    static constexpr float kMaximum = 100000.0f;

public slots:
    void accept() override;

private:
    void toControls();
    bool fromControls();
    void fillStores(const QString &select);
    void chooseStores();

    CADODataBase &m_db;
    CTask m_item;
    std::function<bool()> m_commit;

    QLineEdit *m_description = nullptr;
    CUpDownEntry *m_quantity = nullptr;
    QComboBox *m_unit = nullptr;
    QComboBox *m_store = nullptr;
    CComboModel *m_stores = nullptr;
    QPushButton *m_storesButton = nullptr;
    CUpDownEntry *m_price = nullptr;
    QCheckBox *m_coupon = nullptr;
    QComboBox *m_aisle = nullptr;
};
