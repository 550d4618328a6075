// Files in and out of the data file: every byte back under its own name, a refusal with its
// reason for what cannot be kept (and nothing of it left behind), a file that changes while it
// is read, a cancel.
#include "attachments/attachment_files.h"
#include "db/added_tables.h"
#include "platform/busy.h"
#include "records/attachment_store.h"
#include "records/attachments.h"
#include "support/data_file_test.h"
#include "support/integrity.h"

#include <QBuffer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Attachments::Kind;
using Attachments::Problem;

class AttachmentStore : public DataFileTest
{
protected:
    void SetUp() override
    {
        DataFileTest::SetUp();
        run(QStringLiteral("INSERT INTO Homes (HomeId, Description) VALUES (1, 'Lake house');"));
        run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, Description) VALUES (10, 1, "
                           "'Sofa');"));
    }

    QString file(const QString &name, qint64 size, quint32 seed = 1)
    {
        return AttachmentFiles::write(files.path(), name, size, seed);
    }

    // The attachment's bytes as writeTo gives them, hashed.
    QByteArray storedHash(qint64 id)
    {
        const QString out = files.filePath(QStringLiteral("out-%1").arg(id));
        QFile target(out);
        EXPECT_TRUE(target.open(QIODevice::WriteOnly));
        QString error;
        EXPECT_TRUE(Attachments::writeTo(db, id, target, &error)) << error.toStdString();
        target.close();
        return AttachmentFiles::hashOf(out);
    }

    int rows(const char *table)
    {
        return number(QStringLiteral("SELECT count(*) FROM %1;").arg(QLatin1String(table)));
    }
    int pages() { return number(QStringLiteral("SELECT page_count FROM pragma_page_count();")); }

    QTemporaryDir files;
};

// Stands in for the progress window: does what the test says at the first refresh, and asks to
// cancel when told to.
class Window : public Busy::Window
{
public:
    explicit Window(std::function<void()> atFirstUpdate, bool cancel = false)
        : m_atFirstUpdate(std::move(atFirstUpdate))
        , m_cancel(cancel)
    {
        Busy::setWindow(this);
        Busy::setTiming(0, 0);
    }
    ~Window() override
    {
        Busy::setWindow(nullptr);
        Busy::setTiming(500, 100);
    }
    void show(const Busy::Work &) override { }
    bool update(const Busy::Work &work) override
    {
        last = work;
        if (++updates == 1 && m_atFirstUpdate)
            m_atFirstUpdate();
        return m_cancel;
    }
    void hide() override { }

    int updates = 0;
    Busy::Work last;

private:
    std::function<void()> m_atFirstUpdate;
    bool m_cancel;
};

TEST_F(AttachmentStore, EveryByteComesBackUnderItsOwnNameInAnyScript)
{
    const qint64 chunk = Attachments::kChunkBytes;
    const struct
    {
        QString name;
        qint64 size;
        Kind kind;
    } cases[] = {
        { QStringLiteral("Квитанция №5.pdf"), 0, Kind::Other },
        { QStringLiteral("説明書.txt"), 1, Kind::Other },
        { QStringLiteral("till receipt \U0001F9FE.jpg"), chunk, Kind::Receipt },
        { QStringLiteral("Ελληνικά user-manual.pdf"), chunk + 1, Kind::Manual },
        { QStringLiteral("front.jpg"), 3 * chunk + 12345, Kind::Photo },
        { QStringLiteral("Garantie_Waschmaschine.PDF"), 777, Kind::Warranty },
    };
    std::map<qint64, QByteArray> hashes;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString path = file(c.name, c.size, quint32(c.size + 7));
        const Attachments::AddOutcome added = Attachments::add(db, path, 1, 10);
        ASSERT_EQ(added.problem, Problem::None) << added.detail.toStdString();
        ASSERT_GT(added.id, 0);
        EXPECT_EQ(added.size, c.size);
        hashes[added.id] = AttachmentFiles::hashOf(path);
        // The original may go: the data file holds its own copy.
        ASSERT_TRUE(QFile::remove(path));
    }

    const std::vector<Attachments::Attachment> listed = Attachments::list(db, 1, 10);
    ASSERT_EQ(listed.size(), std::size(cases));
    for (const Attachments::Attachment &a : listed) {
        SCOPED_TRACE(a.fileName.toStdString());
        const auto expected = std::find_if(std::begin(cases), std::end(cases),
                                           [&](const auto &c) { return c.name == a.fileName; });
        ASSERT_NE(expected, std::end(cases));
        EXPECT_EQ(a.size, expected->size);
        EXPECT_EQ(a.kind, expected->kind);
        EXPECT_EQ(a.homeId, 1);
        EXPECT_EQ(a.assetId, 10);
        EXPECT_FALSE(a.isPicture);
        EXPECT_LT(std::abs(a.added.days()
                           - COleDateTime::fromDateTime(QDateTime::currentDateTime()).days()),
                  1.0 / 24);
        EXPECT_EQ(storedHash(a.id), hashes[a.id]);
    }
    // By kind, then name.
    EXPECT_EQ(listed.front().fileName, QStringLiteral("front.jpg"));
    EXPECT_EQ(listed.back().fileName, QStringLiteral("説明書.txt"));
    EXPECT_EQ(listed.front().mimeType, QStringLiteral("image/jpeg"));
    EXPECT_TRUE(listed.front().isImage());

    // Read as a device, in odd pieces and out of order, as picture readers read.
    const Attachments::Attachment &photo = listed.front();
    const std::unique_ptr<Attachments::Reader> reader = Attachments::Reader::open(db, photo.id);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->size(), photo.size);
    QByteArray whole;
    while (!reader->atEnd())
        whole += reader->read(100003);
    EXPECT_EQ(AttachmentFiles::hashOfBytes(whole), hashes[photo.id]);
    ASSERT_TRUE(reader->seek(chunk - 2));
    EXPECT_EQ(reader->read(5), whole.mid(chunk - 2, 5));
    // And on a connection of its own, as the report's threads read.
    const auto own = Attachments::Reader::openOwnConnection(env.dataFile(), photo.id);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(AttachmentFiles::hashOfBytes(own->readAll()), hashes[photo.id]);
    EXPECT_EQ(Attachments::Reader::open(db, 999999), nullptr);
}

TEST_F(AttachmentStore, WhatCannotBeKeptIsRefusedWithItsReasonAndNothingOfItStays)
{
    const QString folder = files.filePath(QStringLiteral("a folder"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString pipe = files.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString dangling = files.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(files.filePath(QStringLiteral("gone.pdf")), dangling));
    const QString toDataFile = files.filePath(QStringLiteral("data link"));
    ASSERT_TRUE(QFile::link(env.dataFile(), toDataFile));
    const QString locked = file(QStringLiteral("locked.pdf"), 100);
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    const QString big = file(QStringLiteral("big.mkv"), 300 * 1024);
    const QString medium = file(QStringLiteral("medium.pdf"), 2 * 1024 * 1024);
    sqlite3 *engine = db.handle();
    const int lengthLimit = sqlite3_limit(engine, SQLITE_LIMIT_LENGTH, -1);

    const struct
    {
        const char *name;
        QString path;
        Problem problem;
        std::function<void()> before;
        std::function<void()> after;
    } cases[] = {
        { "missing", files.filePath(QStringLiteral("nothing.pdf")), Problem::Missing, {}, {} },
        { "link to nothing", dangling, Problem::Missing, {}, {} },
        { "folder", folder, Problem::Folder, {}, {} },
        { "pipe", pipe, Problem::NotAFile, {}, {} },
        { "the data file", env.dataFile(), Problem::DataFile, {}, {} },
        { "a link to it", toDataFile, Problem::DataFile, {}, {} },
        // Root reads whatever the permissions say.
        { "unreadable", locked, ::geteuid() == 0 ? Problem::None : Problem::Unreadable, {}, {} },
        // Where the engine keeps less in one value than the program allows.
        { "too large", big, Problem::TooLarge,
          [&] { sqlite3_limit(engine, SQLITE_LIMIT_LENGTH, 256 * 1024); },
          [&] { sqlite3_limit(engine, SQLITE_LIMIT_LENGTH, lengthLimit); } },
        // The disk fills up under the copy: the engine runs out of pages.
        { "disk full", medium, Problem::DiskFull,
          [&] { run(QStringLiteral("PRAGMA max_page_count=%1;").arg(pages() + 64)); },
          [&] { run(QStringLiteral("PRAGMA max_page_count=1073741823;")); } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const int pagesBefore = pages();
        if (c.before)
            c.before();
        const Attachments::AddOutcome outcome = Attachments::add(db, c.path, 1, 10);
        if (c.after)
            c.after();
        EXPECT_EQ(outcome.problem, c.problem) << outcome.detail.toStdString();
        if (c.problem == Problem::None) {
            run(QStringLiteral("DELETE FROM Attachments;"));
            continue;
        }
        EXPECT_EQ(rows("Attachments"), 0);
        EXPECT_EQ(rows("AttachmentData"), 0);
        EXPECT_EQ(pages(), pagesBefore);
        EXPECT_EQ(integrityOf(env.dataFile()), QStringLiteral("ok"));
    }
    EXPECT_EQ(Attachments::maximumSize(db), std::min<qint64>(qint64(1) << 30, lengthLimit - 16));
    // The data file takes the next file as before.
    EXPECT_EQ(Attachments::add(db, medium, 1, 10).problem, Problem::None);
}

TEST_F(AttachmentStore, AFileThatChangesWhileItIsReadOrACancelKeepsNothing)
{
    const qint64 size = 4 * Attachments::kChunkBytes;
    const QString path = file(QStringLiteral("scan.pdf"), size);
    const struct
    {
        const char *name;
        std::function<void()> change;
        bool cancel;
        Problem problem;
    } cases[] = {
        { "grows",
          [&] { AttachmentFiles::write(files.path(), QStringLiteral("scan.pdf"), size + 10, 2); },
          false, Problem::Changed },
        { "shrinks",
          [&] { AttachmentFiles::write(files.path(), QStringLiteral("scan.pdf"), 100, 3); }, false,
          Problem::Changed },
        { "rewritten at its size",
          [&] { AttachmentFiles::write(files.path(), QStringLiteral("scan.pdf"), size, 4); }, false,
          Problem::Changed },
        { "cancelled", {}, true, Problem::Cancelled },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        AttachmentFiles::write(files.path(), QStringLiteral("scan.pdf"), size, 1);
        const int pagesBefore = pages();
        Window window(c.change, c.cancel);
        Attachments::AddOutcome outcome;
        {
            const Busy::Scope busy(QStringLiteral("Adding..."), Busy::Cancel::Allowed);
            outcome = Attachments::add(db, path, 1, 10);
        }
        EXPECT_EQ(outcome.problem, c.problem);
        EXPECT_GE(window.updates, 1);
        EXPECT_EQ(rows("Attachments"), 0);
        EXPECT_EQ(rows("AttachmentData"), 0);
        EXPECT_EQ(pages(), pagesBefore);
    }
    // Left alone, the same file goes in whole, reporting its progress piece by piece.
    Window window({});
    Attachments::AddOutcome outcome;
    {
        const Busy::Scope busy(QStringLiteral("Adding..."), Busy::Cancel::Allowed);
        outcome = Attachments::add(db, path, 1, 10);
    }
    ASSERT_EQ(outcome.problem, Problem::None);
    EXPECT_EQ(window.updates, 4);
    EXPECT_EQ(window.last.done, size);
    EXPECT_EQ(window.last.total, size);
    EXPECT_EQ(storedHash(outcome.id), AttachmentFiles::hashOf(path));
}

TEST(AttachmentKinds, AreGuessedFromWordsInTheNameThenFromTheContentType)
{
    const struct
    {
        const char *name;
        const char *mime;
        Kind kind;
    } cases[] = {
        { "IMG_2041.JPG", "image/jpeg", Kind::Photo },
        { "receipt.jpg", "image/jpeg", Kind::Receipt },
        { "Invoice-2023-11.pdf", "application/pdf", Kind::Receipt },
        { "Kassenbon Media Markt.png", "image/png", Kind::Receipt },
        { "reçu_fnac.pdf", "application/pdf", Kind::Receipt },
        { "TV_Manual_EN.pdf", "application/pdf", Kind::Manual },
        { "Bedienungsanleitung.pdf", "application/pdf", Kind::Manual },
        { "extended warranty.pdf", "application/pdf", Kind::Warranty },
        { "serial plate.heic", "image/heif", Kind::Photo },
        { "notes.txt", "text/plain", Kind::Other },
        // Part of a longer word is not the word: "billiard" is no bill.
        { "billiard table.pdf", "application/pdf", Kind::Other },
    };
    for (const auto &c : cases)
        EXPECT_EQ(Attachments::guessKind(QString::fromUtf8(c.name), QLatin1String(c.mime)), c.kind)
            << c.name;
    EXPECT_EQ(Attachments::kindOf(3), Kind::Manual);
    EXPECT_EQ(Attachments::kindOf(42), Kind::Other);
    EXPECT_EQ(Attachments::kindName(Kind::Warranty), QStringLiteral("Warranty"));
}

} // namespace
