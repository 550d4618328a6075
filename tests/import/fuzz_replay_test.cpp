// Every input the fuzzer starts from (tests/fuzz/corpus) and every input it ever crashed on
// (tests/fuzz/regressions, kept there as it found them) goes once more through the reader and
// the row converter, here under the sanitizers of the normal build.
#include "fuzz/import_fuzz_target.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(ImportFuzzReplay, EverySeedAndEveryCrashInputFoundIsReadWithoutFault)
{
    int replayed = 0;
    for (const char *folder : { "corpus", "regressions" }) {
        const QDir dir(QStringLiteral(DOMELIO_SOURCE_DIR "/tests/fuzz/") + QLatin1String(folder));
        for (const QString &name : dir.entryList(QDir::Files)) {
            QFile file(dir.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
            const QByteArray input = file.readAll();
            SCOPED_TRACE(name.toStdString());
            importFuzzOne(reinterpret_cast<const std::uint8_t *>(input.constData()),
                          std::size_t(input.size()));
            ++replayed;
        }
    }
    EXPECT_GE(replayed, 8) << "the seed corpus is missing";
}

} // namespace
