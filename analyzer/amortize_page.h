#pragma once
// CDlgAmortize: the month-by-month schedule of the current loan, optionally with the date of
// each payment.

#include "analyzer/analyzer_page.h"

class QCheckBox;
class CAutoListCtrl;

class CDlgAmortize : public CAnalyzerPage
{
    Q_OBJECT

public:
    explicit CDlgAmortize(CCustomPropertySheet *sheet);

    void refresh() override { fill(); }
    // Rebuilds the list from the Details page's loan; the list stays as it was when the
    // Details page refuses its input.
    void fill();

    CAutoListCtrl *list() const { return m_list; }
    QCheckBox *showDatesBox() const { return m_showDates; }
    bool hasDateColumn() const;

protected:
    void initialise() override;

private:
    CAutoListCtrl *m_list = nullptr;
    QCheckBox *m_showDates = nullptr;
    bool m_datesShown = false;
};
