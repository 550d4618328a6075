#pragma once
// CDlgWhatIf: extra payments every month, once a year or once, and what they do to the
// interest and the payoff date of the current loan.

#include "analyzer/analyzer_page.h"
#include "analyzer/loan_formula.h"

#include <QSpinBox>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// The year of a one-time payment: a number-only edit with an up-down. Any year can be typed or
// shown; only the arrows (and the arrow and page keys) keep to the loan's years, as the
// handheld's up-down did, so the page can open at this year for a loan that starts later.
class CYearSpinBox : public QSpinBox
{
public:
    explicit CYearSpinBox(QWidget *parent = nullptr);

    void setArrowRange(int first, int last);
    int arrowMinimum() const { return m_first; }
    int arrowMaximum() const { return m_last; }

    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;

private:
    int m_first = 0;
    int m_last = 9999;
};

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
    CYearSpinBox *yearBox() const { return m_year; }
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
    CYearSpinBox *m_year = nullptr;
    QLabel *m_totalInterest = nullptr;
    QLabel *m_paidOff = nullptr;

    float m_extra = 0;
    int m_yearValue = 0;
    int m_monthIndex = -1;
};
