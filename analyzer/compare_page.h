#pragma once
// CDlgCompare: the terms of a proposed loan (a refinancing offer, say), its payment and total
// interest, and one sentence comparing it with the current loan.

#include "analyzer/analyzer_page.h"
#include "analyzer/loan_terms.h"

class CDlgCompare : public CAnalyzerPage
{
    Q_OBJECT

public:
    CDlgCompare(CCustomPropertySheet *sheet, const LoanTerms &loan);

    void refresh() override;
    // Replaces the proposed terms by the Details page's current ones.
    void reset();

    const LoanEntryRows &rows() const { return m_rows; }
    QPushButton *resetButton() const { return m_reset; }

    // The sentence for current interest a, proposed interest b, current payment c and proposed
    // payment d, of two loans with usable payments.
    static QString comparisonSentence(float a, float b, float c, float d, const QLocale &locale);

protected:
    void initialise() override;

private:
    LoanEntryRows m_rows;
    LoanEntryValues m_values;
    std::int32_t m_term = 0;
    QPushButton *m_reset = nullptr;
};
