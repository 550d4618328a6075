#pragma once
// CDlgBackup: "Backup & Restore". Backup copies the data file to a file the user names;
// Restore replaces the data file with a backup the user picks, after checking it.

#include <QDialog>

class CADODataBase;

class CDlgBackup : public QDialog
{
    Q_OBJECT
public:
    explicit CDlgBackup(CADODataBase &db, QWidget *owner = nullptr);

    // Whether the caller must reload everything it shows: the data file was replaced, or a
    // failed restore left no data file open.
    bool restored() const { return m_restored; }

    void OnBackup();
    void OnRestore();

private:
    CADODataBase &m_db;
    bool m_restored = false;
};
