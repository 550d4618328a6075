// loan-analyzer: stands in for the handheld edition, which loads libAmortix.so and calls
// AnalyzeLoan. With --report it prints the figures instead, computed by the same calculation
// sources the pages use (compiled into this program), so no window system is needed.

#include "analyzer/amortix.h"
#include "analyzer/loan_limits.h"
#include "analyzer/loan_report.h"

#include <QDate>
#include <QFile>
#include <QString>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char kUsage[] =
    R"(Usage: loan-analyzer [--report [--locale NAME]] PRINCIPAL RATE MONTHS [TITLE] [START-DATE]

Shows the Loan Analyzer for one loan, as the handheld edition does: loads libAmortix.so
(first from this program's folder or its prefix's library folder, then from the library
search path) and calls its
AnalyzeLoan function. The window needs a display (or QT_QPA_PLATFORM=offscreen).

  PRINCIPAL    the amount owed, for example 100000
  RATE         the annual interest rate in percent, for example 6 or 7.5
  MONTHS       the number of monthly payments, for example 360
  TITLE        shown at the top of the Details page (default: "Loan Analyzer")
  START-DATE   YYYY-MM-DD; the first payment falls in its month on its day
               (default: today)

Options:
  --report       print the monthly payment, the total interest and the full schedule
                 (number, date, principal, interest, balance) as comma-separated values
                 on standard output, without any window and without loading the library;
                 the loan must be one the analyzer's pages accept: PRINCIPAL 0 to
                 50000000, RATE 0 to 100, MONTHS 0 to 1200 or whole years up to 1200
  --locale NAME  format money, numbers and dates for this locale (for example en_US,
                 de_DE); default: the user's locale (LANG, LC_ALL ...)
  -h, --help     show this text
)";

int usageError(const char *message)
{
    std::fprintf(stderr, "loan-analyzer: %s\nTry 'loan-analyzer --help'.\n", message);
    return 2;
}

// A loan outside the pages' limits: one line, and no report.
int rangeError(const char *message)
{
    std::fprintf(stderr, "loan-analyzer: %s\n", message);
    return 2;
}

bool parseFloat(const char *text, float &value)
{
    errno = 0;
    char *end = nullptr;
    const float parsed = std::strtof(text, &end);
    if (end == text || *end != '\0' || errno == ERANGE || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

bool parseMonths(const char *text, std::int32_t &value)
{
    errno = 0;
    char *end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno == ERANGE || parsed < INT32_MIN || parsed > INT32_MAX)
        return false;
    value = static_cast<std::int32_t>(parsed);
    return true;
}

std::string executableFolder()
{
    std::vector<char> path(4096);
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0)
        return {};
    std::string exe(path.data(), static_cast<size_t>(length));
    const auto slash = exe.rfind('/');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash);
}

// The build folder keeps the library beside this program; an installed copy finds it in the
// library folder of its own prefix (which need not be on the search path), else the library
// search path finds it by its versioned name.
void *loadLibrary()
{
    const std::string folder = executableFolder();
    const std::string candidates[] = { folder + "/libAmortix.so",
                                       folder + "/" AMORTIX_LIBDIR_FROM_BINDIR "/" AMORTIX_SONAME };
    for (const std::string &path : candidates) {
        if (access(path.c_str(), F_OK) != 0)
            continue;
        if (void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
            return handle;
        std::fprintf(stderr, "loan-analyzer: %s\n", dlerror());
    }
    void *handle = dlopen(AMORTIX_SONAME, RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        std::fprintf(stderr, "loan-analyzer: cannot load %s: %s\n", AMORTIX_SONAME, dlerror());
    return handle;
}

} // namespace

int main(int argc, char **argv)
{
    bool report = false;
    const char *localeName = nullptr;
    std::vector<const char *> args;
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (!std::strcmp(arg, "-h") || !std::strcmp(arg, "--help")) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (!std::strcmp(arg, "--report")) {
            report = true;
        } else if (!std::strcmp(arg, "--locale")) {
            if (++i == argc)
                return usageError("--locale needs a locale name");
            localeName = argv[i];
        } else if (!std::strncmp(arg, "--locale=", 9)) {
            localeName = arg + 9;
        } else if (!std::strcmp(arg, "--")) {
            for (++i; i < argc; ++i)
                args.push_back(argv[i]);
        } else if (arg[0] == '-' && arg[1] == '-') {
            return usageError("unknown option");
        } else {
            args.push_back(arg);
        }
    }
    if (args.size() < 3 || args.size() > 5)
        return usageError("expected PRINCIPAL RATE MONTHS [TITLE] [START-DATE]");

    float principal = 0;
    float rate = 0;
    std::int32_t months = 0;
    if (!parseFloat(args[0], principal))
        return usageError("PRINCIPAL is not a number");
    if (!parseFloat(args[1], rate))
        return usageError("RATE is not a number");
    if (!parseMonths(args[2], months))
        return usageError("MONTHS is not a whole number");
    const char *title = args.size() > 3 ? args[3] : "";
    QDate start = QDate::currentDate();
    if (args.size() > 4) {
        start = QDate::fromString(QString::fromLocal8Bit(args[4]), Qt::ISODate);
        if (!start.isValid())
            return usageError("START-DATE is not a date in the form YYYY-MM-DD");
    }
    const COleDateTime startDate = COleDateTime::fromDate(start);

    if (report) {
        // The pages refuse anything else with a message; the report must not print figures
        // for a loan the user could never see there.
        if (!LoanLimits::principalAccepted(principal))
            return rangeError("PRINCIPAL must be between 0 and 50000000");
        if (!LoanLimits::rateAccepted(rate))
            return rangeError("RATE must be between 0 and 100");
        if (!LoanLimits::termAccepted(months))
            return rangeError("MONTHS must be between 0 and 1200, or a whole number of years up "
                              "to 1200 (14400 months)");
        QLocale locale = QLocale::system();
        if (localeName) {
            locale = QLocale(QString::fromLocal8Bit(localeName));
            if (locale.language() == QLocale::C && std::strcmp(localeName, "C") != 0
                && std::strcmp(localeName, "POSIX") != 0)
                return usageError("unknown locale name");
        }
        LoanReportInput input;
        input.principal = principal;
        input.annualPercent = rate;
        input.termMonths = months;
        input.title = QString::fromUtf8(title);
        input.start = startDate;
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly) || !WriteLoanReport(out, input, locale)) {
            std::fprintf(stderr, "loan-analyzer: cannot write the report\n");
            return 1;
        }
        out.close();
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")
        && !std::getenv("QT_QPA_PLATFORM")) {
        std::fprintf(stderr,
                     "loan-analyzer: no display to show the window on; use --report "
                     "for the figures as text\n");
        return 1;
    }
    void *library = loadLibrary();
    if (!library)
        return 1;
    auto analyze = reinterpret_cast<AnalyzeLoanFunction>(dlsym(library, "AnalyzeLoan"));
    if (!analyze) {
        std::fprintf(stderr, "loan-analyzer: libAmortix.so has no AnalyzeLoan: %s\n", dlerror());
        dlclose(library);
        return 1;
    }
    analyze(principal, rate, months, title, AmortixDate { startDate.days(), 1 });
    // Qt stays loaded with the library; unloading it mid-process gains nothing.
    return 0;
}
