#pragma once
// CDlgDetails, the first page: the loan as the caller handed it, correctable, with its monthly
// payment and total interest. The other pages read the current loan from here.

#include "analyzer/analyzer_page.h"
#include "analyzer/loan_terms.h"

class CDlgDetails : public CAnalyzerPage
{
    Q_OBJECT

public:
    CDlgDetails(CCustomPropertySheet *sheet, const LoanTerms &loan);

    // Takes the edits into the fields with their range checks (a refused value is reported and
    // selected) and reads the term from the term controls.
    bool validateAndRead();
    // The payment of the loan as it stands, after validateAndRead; 0 when that fails.
    float currentPayment();

    float principal() const { return m_values.principal; }
    float rate() const { return m_values.rate; }
    std::int32_t term() const { return m_term; }
    const COleDateTime &startDate() const { return m_start; }
    QString loanTitle() const { return m_loanTitle; }
    const LoanEntryRows &rows() const { return m_rows; }

    void refresh() override;
    // Done, and OK on the handheld: ends the analyzer.
    void done();

protected:
    void initialise() override;

private:
    LoanEntryRows m_rows;
    LoanEntryValues m_values;
    std::int32_t m_term = 0;
    COleDateTime m_start;
    QString m_loanTitle;
};
