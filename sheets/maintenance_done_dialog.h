#pragma once
// Maintenance::DoneDialog: "Mark Done" asks when a plan's work was done (today unless changed,
// never after today), what it cost and any notes. The caller records it.

#include <QDate>
#include <QDialog>

class QDateEdit;
class QLineEdit;

namespace Maintenance {

class DoneDialog : public QDialog
{
    Q_OBJECT
public:
    DoneDialog(const QString &planText, const QDate &today, QWidget *owner = nullptr);

    QDate date() const;
    double cost() const { return m_cost; }
    QString notes() const;

    // Runs the dialog through the Ui seam; true when confirmed.
    bool DoModal();

public slots:
    // Refuses a cost that is not a number, saying so.
    void accept() override;

private:
    QDateEdit *m_date = nullptr;
    QLineEdit *m_costEdit = nullptr;
    QLineEdit *m_notes = nullptr;
    double m_cost = 0;
};

} // namespace Maintenance
