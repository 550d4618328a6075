#pragma once
// CDlgWhatIf: extra payments every month, once a year or once, and what they do to the
// interest and the payoff date of the current loan.

#include "analyzer/analyzer_page.h"
#include "analyzer/loan_formula.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

class CDlgWhatIf : public CAnalyzerPage
{
    Q_OBJECT

public:
    explicit CDlgWhatIf(CCustomPropertySheet *sheet);

    void refresh() override;

    Loan::ExtraScenario scenario() const;
    void setScenario(Loan::ExtraScenario scenario);

    QRadioButton *scenarioButton(Loan::ExtraScenario scenario) const;
    QLineEdit *amountEdit() const { return m_amount; }
    QComboBox *monthBox() const { return m_month; }
    QSpinBox *yearBox() const { return m_year; }
    QLabel *payMonthCaption() const { return m_payIn; }
    QLabel *totalInterestLabel() const { return m_totalInterest; }
    QLabel *paidOffLabel() const { return m_paidOff; }

    // The sentence for interest a without and t with the extra payments, over a term of n
    // months paid off after k payments.
    static QString scenarioSentence(float a, float t, std::int32_t n, std::int32_t k,
                                    const QLocale &locale);

protected:
    void initialise() override;

private:
    void applyLayout();
    bool takeFields();

    QRadioButton *m_every = nullptr;
    QRadioButton *m_yearly = nullptr;
    QRadioButton *m_once = nullptr;
    QLineEdit *m_amount = nullptr;
    QLabel *m_payIn = nullptr;
    QComboBox *m_month = nullptr;
    QSpinBox *m_year = nullptr;
    QLabel *m_totalInterest = nullptr;
    QLabel *m_paidOff = nullptr;

    float m_extra = 0;
    int m_yearValue = 0;
    int m_monthIndex = -1;
};
