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
    // What the columns are sized to after a fill: the heading (with the cells under it, so that
    // none is cut short), or the cells alone.
    int headingWidth(int col) const;
    int contentsWidth(int col) const;

    CAutoListCtrl *m_list = nullptr;
    QCheckBox *m_showDates = nullptr;
    bool m_datesShown = false;
};
