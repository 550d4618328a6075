#pragma once
// A home to import into, files to import, and the import run as the user runs it: the file named
// in the open dialog, the Import Inventory Data dialog worked by a script, the messages after.

#include "exchange/import_command.h"
#include "exchange/import_dialog.h"
#include "format/display_text.h"
#include "records/home.h"
#include "support/data_file_test.h"
#include "support/scripted_ui.h"

#include <QComboBox>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

class ImportTest : public DataFileTest
{
protected:
    void SetUp() override
    {
        DataFileTest::SetUp();
        setUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        home.m_strDescription = QStringLiteral("Maple Court");
        ASSERT_TRUE(home.Save(db));
    }
    void TearDown() override
    {
        resetUserLocale();
        DataFileTest::TearDown();
    }

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = files.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QByteArray bytesOf(const QString &path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }

    // File > Import Inventory Data... on path, into the home on connection; script works the
    // dialog. True when the import changed the data file.
    bool importFile(const QString &path, ScriptedUi::DialogScript script,
                    CADODataBase *connection = nullptr, const CHome *into = nullptr)
    {
        ui.nextFileName(path);
        if (script)
            ui.onNextDialog(std::move(script));
        return Import::importInventory(nullptr, connection ? *connection : db, into ? *into : home);
    }

    static Import::Dialog &dialogOf(QDialog &d) { return static_cast<Import::Dialog &>(d); }

    // The drop-down of column (counting from 1): the field it goes into.
    static QString fieldOf(QDialog &d, int column)
    {
        return Fill::textOf(d, QStringLiteral("field%1").arg(column));
    }
    static bool chooseField(QDialog &d, int column, const QString &field)
    {
        auto *box = d.findChild<QComboBox *>(QStringLiteral("field%1").arg(column));
        const int index = box ? box->findText(field) : -1;
        if (index < 0)
            return false;
        box->setCurrentIndex(index);
        return true;
    }

    // A cell of one of the preview's tables, by its header's text.
    static QString cell(QDialog &d, const char *table, int row, const QString &header)
    {
        auto *view = d.findChild<QTableView *>(QLatin1String(table));
        if (!view)
            return QStringLiteral("<no table>");
        QAbstractItemModel *model = view->model();
        for (int c = 0; c < model->columnCount(); ++c) {
            if (model->headerData(c, Qt::Horizontal).toString() == header)
                return model->index(row, c).data().toString();
        }
        return QStringLiteral("<no column %1>").arg(header);
    }
    static int rows(QDialog &d, const char *table)
    {
        auto *view = d.findChild<QTableView *>(QLatin1String(table));
        return view ? view->model()->rowCount() : -1;
    }

    // The first column of the first row as text; empty when there is none.
    QString text(const QString &sql, CADODataBase *connection = nullptr)
    {
        CADORecordset rs(connection ? *connection : db);
        EXPECT_TRUE(rs.Open(sql)) << rs.GetLastError().toStdString();
        QString value;
        if (!rs.IsEof())
            rs.GetString(0, value);
        return value;
    }

    QTemporaryDir files;
    ScriptedUi ui;
    CHome home;
};
