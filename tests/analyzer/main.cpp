// main() for the analyzer tests: one offscreen QApplication for the whole run, and a child
// mode in which the process runs AnalyzeLoan from libAmortix.so with no QApplication at all.

#include "analyzer/amortix.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstring>
#include <dlfcn.h>

namespace {

// Presses Done on the analyzer once it is showing; retries until it is.
void pressDoneWhenShown()
{
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QLatin1String("loanAnalyzer") && top->isVisible()) {
            if (auto *done = top->findChild<QAbstractButton *>(QStringLiteral("done"))) {
                done->click();
                return;
            }
        }
    }
    QTimer::singleShot(20, &pressDoneWhenShown);
}

// Runs when the library constructs its own QApplication.
void scheduleDone()
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), &pressDoneWhenShown,
                              Qt::QueuedConnection);
}

// Exit codes: 0 success, 3 library or symbol missing, 4 an application outlived the call.
int runWithoutApplication(const char *libraryPath)
{
    void *library = dlopen(libraryPath, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return 3;
    auto analyze = reinterpret_cast<AnalyzeLoanFunction>(dlsym(library, "AnalyzeLoan"));
    if (!analyze)
        return 3;
    qAddPreRoutine(&scheduleDone);
    // Twice: the second call must be able to make a new application after the first one's end.
    for (int call = 0; call < 2; ++call) {
        analyze(100000, 6, 360, "Without an application", AmortixDate { 37271, 1 });
        if (QCoreApplication::instance())
            return 4;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && std::strcmp(argv[1], "--run-without-application") == 0)
        return runWithoutApplication(argv[2]);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
