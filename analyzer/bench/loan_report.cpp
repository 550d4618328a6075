// Times the --report output for a 1,200-month loan against a plain loop doing the same
// arithmetic and printf formatting, both in this process; then times the whole
// loan-analyzer --report run for reference. Goal: the report within 3x the plain loop.

#include "analyzer/loan_report.h"
#include "analyzer/bench/timing.h"
#include "analyzer/loan_formula.h"

#include <QBuffer>
#include <QDate>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

// The plain loop as a program of its own, printing to standard output: the baseline for the
// whole loan-analyzer process.
int plainChild(int months)
{
    const float a = CalcMonthlyPayment(100000, 6, months);
    const float r = Loan::MonthlyRate(6);
    float balance = 100000;
    for (int k = 1; k <= months; ++k) {
        const float i = r * balance;
        const float p = a - i;
        balance = balance - p;
        std::printf("%d,%d/%d/%02d,%.2f,%.2f,%.2f\n", k, (k - 1) % 12 + 1, 15,
                    (2 + (k - 1) / 12) % 100, double(p), double(i), double(balance));
    }
    return 0;
}

int main(int argc, char **argv)
{
    if (argc > 1 && std::string(argv[1]) == "--plain-child")
        return plainChild(1200);
    const int months = argc > 1 ? std::atoi(argv[1]) : 1200;
    const int runs = 50;
    std::size_t sink = 0;

    // Baseline: the schedule's arithmetic and a plain printf of every row.
    const double plain = bestOfMs(runs, [&] {
        std::string out;
        const float a = CalcMonthlyPayment(100000, 6, months);
        const float r = Loan::MonthlyRate(6);
        float balance = 100000;
        char line[128];
        for (int k = 1; k <= months; ++k) {
            const float i = r * balance;
            const float p = a - i;
            balance = balance - p;
            const int n = std::snprintf(line, sizeof line, "%d,%d/%d/%02d,%.2f,%.2f,%.2f\n", k,
                                        (k - 1) % 12 + 1, 15, (2 + (k - 1) / 12) % 100, double(p),
                                        double(i), double(balance));
            out.append(line, std::size_t(n));
        }
        sink += out.size();
    });

    LoanReportInput input;
    input.principal = 100000;
    input.annualPercent = 6;
    input.termMonths = months;
    input.start = COleDateTime::fromDate(QDate(2002, 1, 15));
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const double report = bestOfMs(runs, [&] {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        WriteLoanReport(buffer, input, us);
        sink += std::size_t(buffer.size());
    });

    std::printf("schedule of %d months, best of %d runs\n", months, runs);
    std::printf("  plain loop (arithmetic + printf):  %8.3f ms\n", plain);
    std::printf(
        "  report (WriteLoanReport, en_US):   %8.3f ms  = %.2fx the plain loop (goal < 3x)\n",
        report, report / plain);

#ifdef LOAN_ANALYZER_PATH
    const std::string command = std::string(LOAN_ANALYZER_PATH)
        + " --report --locale en_US 100000 6 " + std::to_string(months)
        + " Bench 2002-01-15 > /dev/null";
    const std::string plainCommand = std::string(argv[0]) + " --plain-child > /dev/null";
    const double plainProcess =
        bestOfMs(10, [&] { sink += std::size_t(std::system(plainCommand.c_str())) + 1; });
    const double process =
        bestOfMs(10, [&] { sink += std::size_t(std::system(command.c_str())) + 1; });
    std::printf("  whole processes, 1,200 months, start-up included, best of 10:\n");
    std::printf("    plain loop program:          %8.3f ms\n", plainProcess);
    std::printf("    loan-analyzer --report:      %8.3f ms  = %.2fx the plain program\n", process,
                process / plainProcess);
#endif
    return sink == 0 ? 1 : 0;
}
