#pragma once
// CCustomPropertySheet: the modal "Loan Analyzer" window with its four pages. It ends only
// when a page sets its close flag (Done on the Details page, or the window being closed).

#include "analyzer/loan_terms.h"

#include <QDate>
#include <QDialog>

#include <functional>

class QTabWidget;
class QToolButton;
class CAnalyzerPage;
class CDlgDetails;
class CDlgCompare;
class CDlgWhatIf;
class CDlgAmortize;

class CCustomPropertySheet : public QDialog
{
    Q_OBJECT

public:
    explicit CCustomPropertySheet(const LoanTerms &loan, QWidget *parent = nullptr);
    ~CCustomPropertySheet() override;

    int pageCount() const;
    CAnalyzerPage *page(int index) const;
    CAnalyzerPage *currentPage() const;
    void setCurrentPage(CAnalyzerPage *page);
    QString pageCaption(int index) const;

    // The Details page, opened if it was not yet: every other page reads the loan from it.
    CDlgDetails *details() const;
    CDlgCompare *compare() const { return m_compare; }
    CDlgWhatIf *whatIf() const { return m_whatIf; }
    CDlgAmortize *amortize() const { return m_amortize; }
    QToolButton *doneButton() const { return m_done; }

    bool closeFlag() const { return m_close; }
    // Sets the close flag and ends the modal loop.
    void requestClose();

    // The handheld lowered its on-screen keyboard here; a desktop has none, so this only
    // counts the requests and calls the hook, if any.
    void lowerInputPanel();
    int inputPanelRequests() const { return m_inputPanelRequests; }
    void setInputPanelHook(std::function<void()> hook) { m_inputPanelHook = std::move(hook); }

    // "Today" for the What If page's month and year; the real date unless set.
    QDate today() const { return m_today.isValid() ? m_today : QDate::currentDate(); }
    void setToday(const QDate &date) { m_today = date; }

public slots:
    void done(int result) override;
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void pageShown(int index);

    QTabWidget *m_tabs = nullptr;
    QToolButton *m_done = nullptr;
    CDlgDetails *m_details = nullptr;
    CDlgCompare *m_compare = nullptr;
    CDlgWhatIf *m_whatIf = nullptr;
    CDlgAmortize *m_amortize = nullptr;
    bool m_close = false;
    int m_inputPanelRequests = 0;
    std::function<void()> m_inputPanelHook;
    QDate m_today;
};
