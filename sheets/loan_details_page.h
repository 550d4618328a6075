#pragma once
// CDlgLoan_Tab1: the Details page of a loan: description (required), principal with its Auto
// Update estimate, rate, term and start date.

#include "platform/ole_date.h"
#include "widgets/property_page.h"

#include <QDateTime>

#include <functional>
#include <optional>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

class CDlgLoan_Tab1 : public CPropertyPage
{
    Q_OBJECT
public:
    // What "now" is for Auto Update; the system clock unless a test fixes it.
    using Clock = std::function<QDateTime()>;

    explicit CDlgLoan_Tab1(QWidget *parent = nullptr, Clock clock = {});

    void toControls() override;
    bool fromControls() override;
    void onActivated() override;

    // Estimates the remaining principal and term from the start date (asks first).
    void OnAutoUpdate();

    QString m_strDescription;
    float m_fPrincipal = 0.0f;
    float m_fInterestRate = 0.0f;
    qint32 m_nTermInMonths = 0;
    COleDateTime m_dtStartDate;

private:
    void showTerm(qint32 months);
    // The term the controls hold in months, or nothing (after saying why) when it does not fit
    // the data file's 16-bit column.
    std::optional<qint32> readTerm();
    // Takes the picker's day into m_dtStartDate only when the user changed it: the picker can
    // show neither a date before its minimum nor one it cannot convert, and such a stored date
    // must not turn into the day shown instead. The stored time of day is kept.
    void takeStartDate();

    Clock m_clock;
    QLineEdit *m_description = nullptr;
    QLineEdit *m_principal = nullptr;
    QPushButton *m_autoUpdate = nullptr;
    QLineEdit *m_rate = nullptr;
    QLineEdit *m_term = nullptr;
    QComboBox *m_termUnit = nullptr;
    QDateEdit *m_startDate = nullptr;
    QDate m_shownStartDate; // what toControls put into the picker
};
