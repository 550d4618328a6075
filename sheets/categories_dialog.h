#pragma once
// CDlgCategories: the "Categories" dialog, the entries of one kind (asset categories, task
// categories or stores) with New, Rename and Delete, and the one the user chose.
// CDlgCategoryName: the small "Category" dialog that asks for a name.

#include <QDialog>

class CADODataBase;
class CAutoListCtrl;
class CComboModel;
class QComboBox;
class QLineEdit;
class QPushButton;

class CDlgCategories : public QDialog
{
    Q_OBJECT
public:
    CDlgCategories(CADODataBase &db, int categoryType, qint32 chosenId, QWidget *owner = nullptr);

    // Runs the "Categories" dialog for one kind (Lookups::AssetCategory, TaskCategory, Store) with
    // chosenId preselected; returns the chosen id when the dialog closes, with OK or Cancel alike.
    static qint32 Choose(CADODataBase &db, int categoryType, qint32 chosenId, QWidget *owner);
    // A task category drop-down (combo showing model) with its Categories... button: filled with
    // selectId chosen, and chosen again through this dialog from the combo's current entry.
    static void FillTaskCategories(CADODataBase &db, CComboModel &model, QComboBox &combo,
                                   qint32 selectId);
    static void ChooseTaskCategory(CADODataBase &db, CComboModel &model, QComboBox &combo);

    qint32 chosenId() const { return m_chosenId; }
    CAutoListCtrl *list() const { return m_list; }

    void OnNew();
    void OnRename();
    void OnDelete();

public slots:
    void accept() override;

private:
    void fill();
    // The selected row's id and index; false without one (or on a row whose id is 0).
    bool selected(qint32 &id, int &row) const;
    // Asks for a name, starting from name; false on Cancel.
    bool askName(QString &name);

    CADODataBase &m_db;
    int m_categoryType;
    qint32 m_chosenId;
    CAutoListCtrl *m_list = nullptr;
};

class CDlgCategoryName : public QDialog
{
    Q_OBJECT
public:
    explicit CDlgCategoryName(const QString &name, QWidget *owner = nullptr);

    QString name() const;

private:
    QLineEdit *m_edit = nullptr;
};
