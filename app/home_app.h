#pragma once
// CHomeApp: the application object. It owns the one connection to the data file and the
// settings key, runs start-up and shutdown, and offers the few services every part of the
// desktop program reaches through it (where its files are, messages shown once).

#include "db/ado_database.h"
#include "db/data_location.h"
#include "platform/settings_key.h"

#include <QPointer>
#include <QString>

class CMainFrame;
class QWidget;

class CHomeApp
{
public:
    static constexpr const char *kVersion = "1.3";
    static constexpr const char *kSettingsPath = "Software\\Varn Holt\\Domelio";

    // location: where the data file is, decided once for the whole run. Without one, the
    // program folder and $DOMELIO_DATA_DIR decide.
    CHomeApp();
    explicit CHomeApp(const DataLocation &location);
    ~CHomeApp();
    CHomeApp(const CHomeApp &) = delete;
    CHomeApp &operator=(const CHomeApp &) = delete;

    // The application object of the running program (the most recent one constructed).
    static CHomeApp *instance();

    // Start-up: opens the data file, creates and shows the main window, greets a new user and
    // chooses the first home. false means the program must end (the user has been told why).
    bool InitInstance();
    // Shutdown: closes the connection. Returns the exit code to use.
    int ExitInstance();

    CADODataBase &database() { return m_database; }
    CSettingsKey &settings() { return m_settings; }
    CMainFrame *mainFrame() const;
    QWidget *mainWindow() const;

    // Where the data file and the shipped files are; the connection opens its dataFilePath().
    const DataLocation &dataLocation() const { return m_location; }
    // The folder of the running executable, with a trailing '/'.
    static QString programFolder();

    // Shows text once per user: an information box captioned "Domelio", then flagName is set.
    void showMessageOnce(const QString &text, const QString &flagName);

    // Writes the main window's placement to the settings (when the frame is destroyed).
    void saveWindowPlacement(const QWidget &window);

private:
    void restoreWindowPlacement(QWidget &window);
    void chooseInitialHome();

    DataLocation m_location;
    CSettingsKey m_settings { HKEY_CURRENT_USER };
    CADODataBase m_database;
    QPointer<CMainFrame> m_frame;
};
