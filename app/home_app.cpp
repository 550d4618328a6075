#include "app/home_app.h"

#include "app/main_frame.h"
#include "app/window_geometry.h"
#include "db/added_tables.h"
#include "format/string_table.h"
#include "platform/busy.h"
#include "platform/device_rapi.h"
#include "records/maintenance.h"
#include "views/today_view.h"
#include "widgets/busy_window.h"
#include "widgets/ui.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {

CHomeApp *currentApp = nullptr;

QString withSlash(const QString &folder)
{
    const QString clean = QDir::cleanPath(folder);
    return clean.endsWith(QLatin1Char('/')) ? clean : clean + QLatin1Char('/');
}

void showBusy(bool busy)
{
    Ui::services().setWaitCursor(busy);
}

} // namespace

CHomeApp::CHomeApp()
    : CHomeApp(DataLocation(programFolder()))
{
}

CHomeApp::CHomeApp(const DataLocation &location)
    : m_location(location)
{
    currentApp = this;
    Busy::setHook(&showBusy);
    Busy::setWindow(&Ui::busyWindow());
}

CHomeApp::~CHomeApp()
{
    delete m_frame;
    m_database.Close();
    if (currentApp == this) {
        currentApp = nullptr;
        Busy::setHook(nullptr);
        Busy::setWindow(nullptr);
    }
}

CHomeApp *CHomeApp::instance()
{
    return currentApp;
}

CMainFrame *CHomeApp::mainFrame() const
{
    return m_frame;
}

QWidget *CHomeApp::mainWindow() const
{
    return m_frame;
}

QString CHomeApp::programFolder()
{
    return withSlash(QCoreApplication::applicationDirPath());
}

bool CHomeApp::InitInstance()
{
    // The device connection starts now and settles by itself; nothing waits for it.
    RAPIINIT rapiInit;
    CeRapiInitEx(&rapiInit);

    // The data file first: without it there is nothing to show. An installed copy's first start
    // puts the shipped empty file in the user's folder; why that failed goes to stderr, since the
    // message the user sees is the one for any unusable data file. A folder the user named is
    // the user's: when it holds no data file the message says which folder and file, and how to
    // make one, as reinstalling would not help.
    QString problem;
    if (!m_location.provideDataFile(&problem))
        std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                     qPrintable(problem));
    if (!problem.isEmpty() || !m_database.Open(m_location.dataFilePath())) {
        const QString text = m_location.namedFolderLacksDataFile()
            ? QStringLiteral("There is no data file in the folder %1, which %2 names: %3 is "
                             "missing.\n\nTo start a new household there, make an empty data "
                             "file with\n\nmake-datafile \"%4\"\n\nand start Domelio again. "
                             "Or start it with the folder that holds your data file.")
                  .arg(QDir::toNativeSeparators(QDir::cleanPath(m_location.dataFolder())),
                       m_location.namedBy(), QLatin1String(DataLocation::kDataFileName),
                       QDir::toNativeSeparators(m_location.dataFilePath()))
            : Strings::load(Strings::DataFileError);
        Ui::messageBox(nullptr, text, QString(), Ui::Icon::Warning, Ui::Ok);
        return false;
    }

    // A file from before an index or a table of this version gets it now (once; a no-op ever
    // after). A file that cannot take them (read-only) still opens: its lists answer without.
    AddedTables::ensure(m_database);
    // Plans that came due since the last run get their tasks before anything counts them.
    Maintenance::reconcile(m_database, QDate::currentDate());

    m_frame = new CMainFrame(*this);

    if (!m_settings.Open(HKEY_CURRENT_USER, QLatin1String(kSettingsPath)))
        m_settings.Create(HKEY_CURRENT_USER, QLatin1String(kSettingsPath));

    restoreWindowPlacement(*m_frame);
    m_frame->show();

    m_settings.WriteString(QStringLiteral("CurrentVersion"), QLatin1String(kVersion));
    m_settings.WriteString(QStringLiteral("AppPath"), programFolder());

    QString greeting = Strings::load(Strings::Greeting);
    greeting.replace(QLatin1String("%s"), QLatin1String(kVersion));
    showMessageOnce(greeting, QStringLiteral("InitialGreetingShown_v") + QLatin1String(kVersion));

    m_frame->CreateViews();
    // A worth that must be added up afresh waits for the window's first paint.
    if (CTodayView *today = m_frame->todayView())
        today->CountWorthAfterFirstPaint();
    m_frame->RefreshHomesView(0);
    chooseInitialHome();
    return true;
}

void CHomeApp::chooseInitialHome()
{
    qint32 lastHome = 0;
    if (m_settings.ReadNumber(QStringLiteral("LastHomeId"), lastHome)) {
        m_frame->SetCurrentHome(lastHome);
        return;
    }
    const QString caption = Strings::load(Strings::AppTitle);
    const int answer = Ui::messageBox(m_frame, Strings::load(Strings::AskHandheldUsed), caption,
                                      Ui::Icon::Question, Ui::Yes | Ui::No, Ui::No);
    if (answer == Ui::Yes) {
        Ui::messageBox(m_frame, Strings::load(Strings::HandheldSyncAdvice), caption,
                       Ui::Icon::Information, Ui::Ok);
        m_frame->OnSelectHome();
    } else {
        Ui::messageBox(m_frame, Strings::load(Strings::GreetingHomeSetup), caption,
                       Ui::Icon::Information, Ui::Ok);
        m_frame->OnNewHome();
    }
}

int CHomeApp::ExitInstance()
{
    CeRapiUninit();
    if (m_database.IsOpen())
        m_database.Close();
    return 0;
}

void CHomeApp::showMessageOnce(const QString &text, const QString &flagName)
{
    qint32 shown = 0;
    if (m_settings.ReadNumber(flagName, shown) && shown != 0)
        return;
    Ui::messageBox(mainWindow(), text, Strings::load(Strings::AppTitle), Ui::Icon::Information,
                   Ui::Ok);
    m_settings.WriteNumber(flagName, 1);
}

void CHomeApp::restoreWindowPlacement(QWidget &window)
{
    WindowPlacement placement;
    if (m_settings.ReadWindowPlacement(QStringLiteral("WindowPlacement"), placement))
        applyPlacement(window, placement);
    else
        centreOnScreen(window);
}

void CHomeApp::saveWindowPlacement(const QWidget &window)
{
    m_settings.WriteWindowPlacement(QStringLiteral("WindowPlacement"), placementOf(window));
}
