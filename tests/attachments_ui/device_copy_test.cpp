// Sync. with Device both ways in the running program, with attachments on the desktop: the copy
// to the handheld takes the seven tables and no attachment; the copy back leaves every attachment
// whole, tells the user of those whose asset has gone, and Tools > Unfiled Attachments files them
// under another asset or removes them.
#include "app/command_ids.h"
#include "app/frame_fixture.h"
#include "attachments/attachment_files.h"
#include "controls/auto_list_ctrl.h"
#include "format/string_table.h"
#include "records/attachment_store.h"
#include "records/attachments.h"
#include "sheets/unfiled_attachments_dialog.h"
#include "support/screenshots.h"
#include "sync/sync_fixture.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace SyncTest;

namespace {

class DeviceCopyAttachments : public ::testing::Test
{
protected:
    void SetUp() override
    {
        run.seedHomes({ { 1, QStringLiteral("Desk A") } });
        {
            CADODataBase db;
            ASSERT_TRUE(db.Open(run.env.dataFile()));
            ASSERT_TRUE(db.Execute(QStringLiteral(
                "INSERT INTO Assets (AssetId, HomeId, Description) VALUES (10, 1, 'Sofa'), "
                "(11, 1, 'Toaster');")));
            ASSERT_TRUE(db.Execute(
                QStringLiteral("UPDATE TableIds SET NextId=12 WHERE TableName='Assets';")));
            for (const auto &[asset, name] :
                 { std::pair(10, QStringLiteral("sofa receipt.pdf")),
                   std::pair(10, QStringLiteral("sofa.jpg")),
                   std::pair(Attachments::kHomeItself, QStringLiteral("deed.pdf")) }) {
                const QString path =
                    AttachmentFiles::write(files.path(), name, 150000, quint32(name.size()));
                const auto added = Attachments::add(db, path, 1, asset);
                ASSERT_EQ(added.problem, Attachments::Problem::None);
                hashes[added.id] = AttachmentFiles::hashOf(path);
            }
        }
        run.writeSetting(QStringLiteral("LastHomeId"), 1);
        frame = &run.start();
        registerService();
        setUpDevice({ QStringLiteral("Hand X") });
    }

    void sync(bool toDesktop)
    {
        run.ui.onNextDialog([toDesktop](QDialog &dialog) {
            if (toDesktop) {
                ASSERT_TRUE(Fill::click(dialog, QStringLiteral("toDesktop")));
            }
            ASSERT_TRUE(Fill::click(dialog, QStringLiteral("sync")));
        });
        frame->action(Command::Sync)->trigger();
        EXPECT_EQ(run.ui.pendingScripts(), 0);
    }

    // Every attachment on the desktop, each with its bytes' hash as stored now.
    std::map<qint64, QByteArray> storedHashes()
    {
        std::map<qint64, QByteArray> found;
        CADODataBase &db = run.app->database();
        for (const qint32 home : { 1 }) {
            for (const Attachments::Attachment &a : Attachments::listOfHome(db, home)) {
                QByteArray bytes;
                QBuffer buffer(&bytes);
                buffer.open(QIODevice::WriteOnly);
                EXPECT_TRUE(Attachments::writeTo(db, a.id, buffer));
                found[a.id] = AttachmentFiles::hashOfBytes(bytes);
            }
        }
        return found;
    }

    QTemporaryDir files;
    std::map<qint64, QByteArray> hashes;
    ProgramRun run;
    CMainFrame *frame = nullptr;
};

TEST_F(DeviceCopyAttachments, BothWaysLeaveTheAttachmentsAloneAndTheUnfiledAreOffered)
{
    // To the handheld: the seven tables, as ever, and nothing of the attachments.
    sync(false);
    EXPECT_EQ(run.ui.messageTexts().last(), Strings::load(Strings::SyncToDeviceDone));
    {
        CADODataBase device;
        ASSERT_TRUE(device.Open(deviceFile()));
        CADORecordset rs(device);
        ASSERT_TRUE(rs.Open(QStringLiteral(
            "SELECT group_concat(name, ' ') FROM (SELECT name FROM sqlite_master WHERE "
            "type='table' ORDER BY name);")));
        QString tables;
        rs.GetString(0, tables);
        EXPECT_EQ(tables, QStringLiteral("Areas Assets Categories Homes Loans TableIds Tasks"));
        // On the handheld the sofa is given away and a kettle bought.
        ASSERT_TRUE(device.Execute(QStringLiteral("DELETE FROM Assets WHERE AssetId=10;")));
        ASSERT_TRUE(device.Execute(QStringLiteral(
            "INSERT INTO Assets (AssetId, HomeId, Description) VALUES (12, 1, 'Kettle');")));
    }
    EXPECT_EQ(storedHashes(), hashes);

    // Back to the desktop: every attachment is still there, byte for byte, and the two whose
    // asset has gone are pointed out.
    const qsizetype shown = run.ui.messageTexts().size();
    sync(true);
    EXPECT_EQ(storedHashes(), hashes);
    const QStringList after = run.ui.messageTexts().mid(shown);
    ASSERT_GE(after.size(), 2);
    EXPECT_EQ(after.at(after.size() - 2), Strings::load(Strings::SyncToDesktopDone));
    EXPECT_EQ(after.last(),
              QStringLiteral("2 attachments kept in the data file belong to assets or homes that "
                             "are no longer there. They are kept: Tools > Unfiled Attachments "
                             "files them under an asset or removes them."));

    // Tools > Unfiled Attachments: one filed under the kettle, the other removed.
    QAction *command = frame->action(Command::UnfiledAttachments);
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->text(), QStringLiteral("&Unfiled Attachments..."));
    EXPECT_TRUE(command->isEnabled()); // with no current home, too
    run.ui.onNextDialog([&](QDialog &dialog) {
        auto &unfiled = static_cast<Attachments::UnfiledDialog &>(dialog);
        ASSERT_EQ(unfiled.list()->GetItemCount(), 2);
        EXPECT_EQ(unfiled.list()->GetItemText(0, 1), QStringLiteral("sofa.jpg"));
        EXPECT_EQ(unfiled.list()->GetItemText(0, 3), QStringLiteral("Asset no. 10 of Desk A"));
        EXPECT_FALSE(unfiled.noneLine()->isVisible());
        Screenshots::save(dialog, QStringLiteral("unfiled_attachments"));
        unfiled.list()->SetCurSel(0);
        run.ui.onNextDialog([&](QDialog &chooser) {
            auto &owner = static_cast<Attachments::ChooseOwnerDialog &>(chooser);
            EXPECT_EQ(owner.homes()->currentText(), QStringLiteral("Desk A"));
            CAutoListCtrl &assets = *owner.assets();
            QStringList rows;
            for (int row = 0; row < assets.GetItemCount(); ++row)
                rows << assets.GetItemText(row, 0);
            EXPECT_EQ(rows,
                      (QStringList { QStringLiteral("(The home's own papers)"),
                                     QStringLiteral("Kettle"), QStringLiteral("Toaster") }));
            Screenshots::save(chooser, QStringLiteral("unfiled_move"));
            assets.SetCurSel(1);
            Fill::click(chooser, QStringLiteral("ok"));
        });
        ASSERT_TRUE(Fill::click(dialog, QStringLiteral("moveAttachment")));
        ASSERT_EQ(unfiled.list()->GetItemCount(), 1);
        run.ui.answer(Ui::Yes);
        ASSERT_TRUE(Fill::click(dialog, QStringLiteral("removeAttachment")));
        EXPECT_EQ(unfiled.list()->GetItemCount(), 0);
        EXPECT_TRUE(unfiled.noneLine()->isVisible());
        Fill::click(dialog, QStringLiteral("close"));
    });
    command->trigger();
    EXPECT_EQ(run.ui.pendingScripts(), 0);

    CADODataBase &db = run.app->database();
    const auto kettle = Attachments::list(db, 1, 12);
    ASSERT_EQ(kettle.size(), 1u);
    EXPECT_EQ(kettle.front().fileName, QStringLiteral("sofa.jpg"));
    EXPECT_EQ(storedHashes().at(kettle.front().id), hashes.at(kettle.front().id));
    EXPECT_EQ(Attachments::list(db, 1, Attachments::kHomeItself).size(), 1u);
    EXPECT_EQ(Attachments::unfiledCount(db), 0);
    EXPECT_EQ(Attachments::listOfHome(db, 1).size(), 2u);
}

} // namespace
