#pragma once
// Where the data file lives, decided by how the program was laid out.
//
// A copy run from its build folder (or unpacked anywhere by hand) keeps HOMEDATA.DAT beside the
// executable. An installed copy finds the files it ships with in ../share/domelio beside its bin
// folder; its program folder belongs to the system (root can write it, nobody else should), so
// the data goes to the user's own $XDG_DATA_HOME/domelio instead, seeded from the shipped empty
// file on the first start. --data-dir, else $DOMELIO_DATA_DIR, names the folder for either copy.
//
// The program makes one of these at start and asks it, and only it, where its files are.

#include <QString>

class DataLocation
{
public:
    static constexpr const char *kDataFileName = "HOMEDATA.DAT";
    // The empty data file an installed copy ships, below its shipped folder. It has a folder of
    // its own because a prefix of ~/.local puts the shipped folder exactly where the user's data
    // folder is: the user's HOMEDATA.DAT and the shipped one must never be the same file, or the
    // next install would overwrite the household's records.
    static constexpr const char *kShippedDataFile = "empty/HOMEDATA.DAT";

    // programFolder: the folder of the running executable. chosenFolder: the data folder the
    // user named (--data-dir); when empty, $DOMELIO_DATA_DIR is read now.
    explicit DataLocation(const QString &programFolder, const QString &chosenFolder = QString());

    // Whether this is an installed copy: its shipped files are in ../share/domelio.
    bool isInstalled() const { return m_installed; }
    // The folder of the files the program ships with (default.jpg, the empty data file), with a
    // trailing '/': the program folder, or ../share/domelio for an installed copy.
    QString shippedFolder() const { return m_shippedFolder; }
    // The folder of the data file, with a trailing '/'.
    QString dataFolder() const { return m_dataFolder; }
    QString dataFilePath() const { return m_dataFolder + QLatin1String(kDataFileName); }

    // How the user named the data folder: "--data-dir", "$DOMELIO_DATA_DIR", or empty when the
    // program chose it.
    QString namedBy() const { return m_namedBy; }

    // An installed copy using its default data folder gets the shipped empty data file there when
    // none exists yet (the folder made 0700, the file 0600), as an installer would have put it
    // beside the program. An existing file is never replaced. A folder named by the user is left
    // to the user: when it holds no data file, that is the reason given, with the command that
    // makes one. false, with a reason in one line, when the file is not there and could not be
    // put there.
    bool provideDataFile(QString *error = nullptr) const;
    // Whether the data file is missing from a folder the user named.
    bool namedFolderLacksDataFile() const;

private:
    bool m_installed = false;
    bool m_seedsDataFile = false;
    QString m_namedBy;
    QString m_shippedFolder;
    QString m_dataFolder;
};
