// bench_report_pdf: the inventory report of 10,000 assets, 1,000 of them with a 3000 x 2000 JPEG
// picture, written as a PDF; against a plain QPdfWriter loop that writes the same text line by
// line with no layout (no wrapping, no tables, no pictures) as the baseline, in one run.
//   bench_report_pdf [--runs N]
// The pictures are five generated photographs, each used by 200 assets: every use is decoded
// and embedded anew, as distinct photos would be.
#include "bench_util.h"
#include "db/ado_database.h"
#include "db/datafile.h"
#include "format/display_text.h"
#include "report/report_contents.h"
#include "report/report_file.h"
#include "report/report_layout.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <sqlite3.h>

namespace {

constexpr int kAssets = 10000;
constexpr int kPictured = 1000;
constexpr int kDistinctPictures = 5;

// A photograph-like picture: a gradient, shapes and fine noise, so that JPEG has real work.
QImage photo(int seed)
{
    QImage image(3000, 2000, QImage::Format_RGB32);
    QRandomGenerator random(quint32(seed) + 7);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, 2000);
    sky.setColorAt(0, QColor::fromHsv(random.bounded(360), 120, 230));
    sky.setColorAt(1, QColor::fromHsv(random.bounded(360), 160, 90));
    painter.fillRect(image.rect(), sky);
    for (int i = 0; i < 60; ++i) {
        painter.setBrush(QColor::fromHsv(random.bounded(360), 140, 80 + random.bounded(170)));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPoint(random.bounded(3000), random.bounded(2000)),
                            40 + random.bounded(400), 40 + random.bounded(300));
    }
    painter.end();
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = int(random.bounded(25)) - 12;
            const QRgb p = line[x];
            line[x] = qRgb(qBound(0, qRed(p) + n, 255), qBound(0, qGreen(p) + n, 255),
                           qBound(0, qBlue(p) + n, 255));
        }
    }
    return image;
}

// Resets the process's peak resident memory, so that each part is measured on its own.
void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// The same text as the report, one field a line, with no layout at all.
bool writeBaseline(const InventoryReport::Contents &contents, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QPdfWriter writer(&file);
    writer.setPageLayout(InventoryReport::reportPageLayout(QPageSize::Letter));
    QPainter painter(&writer);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9);
    painter.setFont(font);
    const qreal line = QFontMetricsF(font, &writer).lineSpacing();
    qreal y = line;
    auto write = [&](const QString &text) {
        if (y > writer.height()) {
            writer.newPage();
            y = line;
        }
        painter.drawText(QPointF(0, y), text);
        y += line;
    };
    for (const InventoryReport::Asset &asset : contents.assets) {
        for (const QString &text :
             { asset.description, asset.category, asset.location, asset.makeModel,
               asset.serialNumber, dateText(asset.purchaseDate, false), asset.vendor,
               moneyText(asset.purchasePrice), moneyText(asset.currentValue),
               moneyText(asset.replacementValue), dateText(asset.warranty, false), asset.notes })
            write(text);
    }
    return painter.end();
}

struct Figures
{
    double ms = 0;
    double cpuMs = 0;
    double peak = 0;
    qint64 bytes = 0;
    int pages = 0;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const int runs = args.size() > 1 && args[0] == QLatin1String("--runs") ? args[1].toInt() : 3;
    setUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));

    QTemporaryDir temp;
    const QString dataFile = temp.filePath(QStringLiteral("HOMEDATA.DAT"));
    if (!BenchUtil::generateData(dataFile,
                                 { QStringLiteral("--homes"), QStringLiteral("1"),
                                   QStringLiteral("--assets"), QString::number(kAssets) }))
        return 1;
    QStringList pictures;
    for (int i = 0; i < kDistinctPictures; ++i) {
        pictures << temp.filePath(QStringLiteral("photo%1.jpg").arg(i));
        if (!photo(i).save(pictures.last(), "JPEG", 90))
            return 1;
    }
    CADODataBase db;
    if (!db.Open(dataFile) || !db.Execute(QStringLiteral("UPDATE Assets SET Picture2=NULL;"))) {
        std::fprintf(stderr, "%s\n", qPrintable(db.GetLastError()));
        return 1;
    }
    // Every tenth asset has a picture, the five files taking turns.
    sqlite3_stmt *setPicture = nullptr;
    sqlite3_prepare_v2(db.handle(), "UPDATE Assets SET Picture2=?1 WHERE AssetId % ?2 = ?3;", -1,
                       &setPicture, nullptr);
    const int every = kAssets / kPictured;
    for (int i = 0; i < kDistinctPictures; ++i) {
        const QByteArray path = QFile::encodeName(pictures[i]);
        sqlite3_bind_text(setPicture, 1, path.constData(), int(path.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(setPicture, 2, every * kDistinctPictures);
        sqlite3_bind_int(setPicture, 3, every * i);
        if (sqlite3_step(setPicture) != SQLITE_DONE) {
            std::fprintf(stderr, "%s\n", sqlite3_errmsg(db.handle()));
            return 1;
        }
        sqlite3_reset(setPicture);
    }
    sqlite3_finalize(setPicture);

    auto measure = [&](const QString &name, bool pagePerAsset, bool baseline, bool pictures) {
        Figures figures;
        const QString pdf = temp.filePath(name);
        std::vector<double> times;
        std::vector<double> cpu;
        for (int run = 0; run < runs; ++run) {
            resetPeak();
            QElapsedTimer timer;
            timer.start();
            const double cpu0 = BenchUtil::cpuMs();
            InventoryReport::Options options;
            options.pagePerAsset = pagePerAsset;
            options.pictures = pictures;
            InventoryReport::Contents contents;
            if (!InventoryReport::load(db, 1, options, QDate::currentDate(), contents))
                return figures;
            if (baseline) {
                writeBaseline(contents, pdf);
            } else {
                InventoryReport::saveFile(
                    pdf, dataFile,
                    [&](QIODevice &device) {
                        QPdfWriter writer(&device);
                        writer.setPageLayout(InventoryReport::reportPageLayout(QPageSize::Letter));
                        InventoryReport::PageLayout layout(contents);
                        const bool ok = layout.paint(writer);
                        figures.pages = layout.pageCount();
                        return ok ? InventoryReport::SaveResult::Saved
                                  : InventoryReport::SaveResult::Failed;
                    },
                    nullptr);
            }
            times.push_back(timer.nsecsElapsed() / 1e6);
            cpu.push_back(BenchUtil::cpuMs() - cpu0);
            figures.peak = std::max(figures.peak, BenchUtil::peakMiB());
        }
        std::sort(times.begin(), times.end());
        std::sort(cpu.begin(), cpu.end());
        figures.ms = times[times.size() / 2];
        figures.cpuMs = cpu[cpu.size() / 2];
        figures.bytes = QFileInfo(pdf).size();
        return figures;
    };

    const Figures plain = measure(QStringLiteral("baseline.pdf"), false, true, false);
    const Figures text = measure(QStringLiteral("text.pdf"), false, false, false);
    const Figures table = measure(QStringLiteral("table.pdf"), false, false, true);
    const Figures paged = measure(QStringLiteral("pages.pdf"), true, false, true);

    std::printf("inventory report as PDF: %d assets, %d with a 3000 x 2000 JPEG (%d distinct "
                "files), median of %d runs\n",
                kAssets, kPictured, kDistinctPictures, runs);
    auto row = [](const char *name, const Figures &f) {
        std::printf("  %-38s %8.0f ms (%6.0f ms CPU)  %6.1f MiB peak  %6.1f MB PDF", name, f.ms,
                    f.cpuMs, f.peak, f.bytes / 1e6);
        if (f.pages > 0)
            std::printf("  %5d pages", f.pages);
        std::printf("\n");
    };
    row("baseline: plain QPdfWriter text loop", plain);
    row("report, table rows, no pictures", text);
    row("report, a table row per asset", table);
    row("report, a page per asset", paged);
    std::printf("  ratio to the baseline: %.2fx (table), %.2fx (pages)\n", table.ms / plain.ms,
                paged.ms / plain.ms);
    std::printf("  goals: under 20 s, under 300 MiB peak, under 60 MB of PDF\n");
    return 0;
}
