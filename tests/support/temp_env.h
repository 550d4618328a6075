#pragma once
// A private data folder and settings folder for one test, removed afterwards. The process's
// DOMELIO_DATA_DIR and DOMELIO_REGISTRY_DIR point at them while the object lives.

#include "db/datafile.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class TempEnv
{
public:
    // parent: the folder to make the temporary one in; the system's temporary folder if empty.
    explicit TempEnv(bool withDataFile = true, const QString &parent = QString())
        : m_root(parent.isEmpty() ? QTemporaryDir()
                                  : QTemporaryDir(parent + QStringLiteral("/domelio-XXXXXX")))
        , m_oldData(qgetenv("DOMELIO_DATA_DIR"))
        , m_oldRegistry(qgetenv("DOMELIO_REGISTRY_DIR"))
        , m_oldDevice(qgetenv("DOMELIO_DEVICE_DIR"))
    {
        QDir(m_root.path()).mkpath(QStringLiteral("data"));
        QDir(m_root.path()).mkpath(QStringLiteral("registry"));
        QDir(m_root.path()).mkpath(QStringLiteral("device"));
        qputenv("DOMELIO_DATA_DIR", dataDir().toUtf8());
        qputenv("DOMELIO_REGISTRY_DIR", registryDir().toUtf8());
        qputenv("DOMELIO_DEVICE_DIR", deviceDir().toUtf8());
        if (withDataFile) {
            QString error;
            EXPECT_TRUE(DataFile::create(dataFile(), &error)) << error.toStdString();
        }
    }
    ~TempEnv()
    {
        restore("DOMELIO_DATA_DIR", m_oldData);
        restore("DOMELIO_REGISTRY_DIR", m_oldRegistry);
        restore("DOMELIO_DEVICE_DIR", m_oldDevice);
    }
    TempEnv(const TempEnv &) = delete;
    TempEnv &operator=(const TempEnv &) = delete;

    QString root() const { return m_root.path(); }
    QString dataDir() const { return m_root.path() + QStringLiteral("/data"); }
    QString registryDir() const { return m_root.path() + QStringLiteral("/registry"); }
    QString deviceDir() const { return m_root.path() + QStringLiteral("/device"); }
    QString dataFile() const { return dataDir() + QStringLiteral("/HOMEDATA.DAT"); }
    QString connection() const { return DataFile::connectionString(dataFile()); }

private:
    static void restore(const char *name, const QByteArray &old)
    {
        if (old.isNull())
            qunsetenv(name);
        else
            qputenv(name, old);
    }

    QTemporaryDir m_root;
    QByteArray m_oldData;
    QByteArray m_oldRegistry;
    QByteArray m_oldDevice;
};
