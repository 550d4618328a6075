// An add cut off: a child process adds a large file and is killed with SIGKILL partway through
// its pieces. The data file must then open whole, with no attachment row and no bytes of it, and
// no larger than before; an add left to finish keeps every byte.
#include "attachments/attachment_files.h"
#include "platform/busy.h"
#include "records/attachment_store.h"
#include "records/attachments.h"
#include "support/child_process.h"
#include "support/data_file_test.h"
#include "support/integrity.h"

#include <QBuffer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr const char *kChildVariable = "DOMELIO_ATTACH_TRIAL_CHILD";
constexpr qint64 kFileSize = 48 * 1024 * 1024;

// Tells the parent of every piece written, the moment the progress window would show it.
class ReportingWindow : public Busy::Window
{
public:
    void show(const Busy::Work &) override { }
    bool update(const Busy::Work &work) override
    {
        reportToParent(QByteArray("piece ") + QByteArray::number(work.done));
        return false;
    }
    void hide() override { }
};

TEST(AttachmentKillTrialChild, Adds)
{
    const QByteArray file = qgetenv(kChildVariable);
    if (file.isEmpty())
        GTEST_SKIP() << "run by AttachmentKillTrial only";
    CADODataBase db;
    ASSERT_TRUE(
        db.Open(qEnvironmentVariable("DOMELIO_DATA_DIR") + QStringLiteral("/HOMEDATA.DAT")));
    ReportingWindow window;
    Busy::setWindow(&window);
    Busy::setTiming(0, 0);
    Attachments::AddOutcome outcome;
    {
        const Busy::Scope busy(QStringLiteral("Adding..."), Busy::Cancel::Allowed);
        outcome = Attachments::add(db, QString::fromLocal8Bit(file), 1, 10);
    }
    reportToParent(outcome.problem == Attachments::Problem::None ? "done" : "failed");
    Busy::setWindow(nullptr);
}

class AttachmentKillTrial : public DataFileTest
{
protected:
    void SetUp() override
    {
        DataFileTest::SetUp();
        run(QStringLiteral("INSERT INTO Homes (HomeId, Description) VALUES (1, 'Lake house');"));
        run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, Description) VALUES (10, 1, "
                           "'Piano');"));
        // One file kept before: it must come through every kill untouched.
        const QString earlier =
            AttachmentFiles::write(files.path(), QStringLiteral("tuning.pdf"), 300000, 9);
        const Attachments::AddOutcome kept = Attachments::add(db, earlier, 1, 10);
        ASSERT_EQ(kept.problem, Attachments::Problem::None);
        keptId = kept.id;
        keptHash = AttachmentFiles::hashOf(earlier);
        db.Close();
        big = AttachmentFiles::write(files.path(), QStringLiteral("recital.mov"), kFileSize, 5);
        sizeBefore = QFileInfo(env.dataFile()).size();
    }

    QByteArray storedHash(qint64 id)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        return Attachments::writeTo(db, id, buffer) ? AttachmentFiles::hashOfBytes(bytes)
                                                    : QByteArray();
    }

    QTemporaryDir files;
    QString big;
    qint64 keptId = 0;
    QByteArray keptHash;
    qint64 sizeBefore = 0;
};

TEST_F(AttachmentKillTrial, AKilledAddLeavesNoRowAndAWholeFile)
{
    const qint64 pieces = kFileSize / Attachments::kChunkBytes;
    for (const qint64 killAfter : { qint64(1), pieces / 3, pieces - 2 }) {
        SCOPED_TRACE(killAfter);
        ChildProcess child("AttachmentKillTrialChild.Adds", kChildVariable, QFile::encodeName(big));
        ASSERT_TRUE(child.started());
        qint64 seen = 0;
        while (seen < killAfter) {
            const QByteArray line = child.readLine(60000);
            ASSERT_TRUE(line.startsWith("piece ")) << line.constData();
            ++seen;
        }
        EXPECT_TRUE(child.kill()) << "the add ended before it could be cut off";

        // Opened as the program opens it: the journal the kill left is played back.
        ASSERT_TRUE(db.Open(env.dataFile())) << db.GetLastError().toStdString();
        EXPECT_EQ(integrityOf(env.dataFile()), QStringLiteral("ok"));
        EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM Attachments;")), 1);
        EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM AttachmentData;")), 1);
        EXPECT_EQ(storedHash(keptId), keptHash);
        db.Close();
        EXPECT_EQ(QFileInfo(env.dataFile()).size(), sizeBefore);
    }

    // Left alone, the same add keeps the whole file.
    ChildProcess child("AttachmentKillTrialChild.Adds", kChildVariable, QFile::encodeName(big));
    QByteArray line;
    do
        line = child.readLine(120000);
    while (line.startsWith("piece "));
    EXPECT_EQ(line, QByteArray("done"));
    EXPECT_TRUE(child.finish());
    ASSERT_TRUE(db.Open(env.dataFile()));
    const std::vector<Attachments::Attachment> listed = Attachments::list(db, 1, 10);
    ASSERT_EQ(listed.size(), 2u);
    const auto added = std::find_if(listed.begin(), listed.end(), [](const auto &a) {
        return a.fileName == QStringLiteral("recital.mov");
    });
    ASSERT_NE(added, listed.end());
    EXPECT_EQ(added->size, kFileSize);
    EXPECT_EQ(storedHash(added->id), AttachmentFiles::hashOf(big));
}

} // namespace
