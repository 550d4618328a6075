#include "analyzer/analyze_loan.h"

#include "analyzer/analyzer_sheet.h"
#include "widgets/ui.h"

#include <QApplication>
#include <QThread>

#include <cmath>
#include <cstdio>
#include <memory>

LoanTerms LoanTermsFromCaller(float principal, float rate, std::int32_t termMonths,
                              const char *titleUtf8, double startDays, bool startValid)
{
    LoanTerms loan;
    loan.principal = principal;
    loan.annualPercent = rate;
    loan.termMonths = termMonths;
    // Invalid UTF-8 becomes replacement characters rather than being refused.
    loan.title = titleUtf8 ? QString::fromUtf8(titleUtf8) : QString();
    // A day count outside the calendar is no date at all; the pages then show no dates.
    loan.start = startValid && std::isfinite(startDays) ? COleDateTime(startDays)
                                                        : COleDateTime::invalidDate();
    if (loan.start.isValid() && !loan.start.date().isValid())
        loan.start = COleDateTime::invalidDate();
    return loan;
}

void RunLoanAnalyzer(const LoanTerms &loan,
                     const std::function<void(CCustomPropertySheet &)> &beforeRun)
{
    std::unique_ptr<QApplication> ownApplication;
    QCoreApplication *running = QCoreApplication::instance();
    if (!running) {
        // Qt keeps references to these for the application's lifetime.
        static int argc = 1;
        static char name[] = "Amortix";
        static char *argv[] = { name, nullptr };
        ownApplication = std::make_unique<QApplication>(argc, argv);
    } else if (!qobject_cast<QApplication *>(running)) {
        std::fprintf(stderr,
                     "AnalyzeLoan: the caller runs a QCoreApplication or "
                     "QGuiApplication; the analyzer's window needs a QApplication.\n");
        return;
    } else if (QThread::currentThread() != running->thread()) {
        std::fprintf(stderr, "AnalyzeLoan: must be called on the user-interface thread.\n");
        return;
    }

    {
        CCustomPropertySheet sheet(loan);
        if (beforeRun)
            beforeRun(sheet);
        Ui::runModal(sheet);
    }
    // Anything the sheet left for deferred deletion goes before the application we made.
    if (ownApplication) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ownApplication.reset();
    }
}
