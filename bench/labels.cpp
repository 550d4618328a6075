// bench_labels: 3,000 asset labels (Avery 5160, 30 a sheet) with their QR codes written as a
// PDF, as Save as PDF writes them; against a plain QPdfWriter loop that writes the same three
// lines of text into the same cells with no QR code, no wrapping and no eliding, in one run.
//   bench_labels [--runs N] [--assets N]
#include "bench_util.h"
#include "db/ado_database.h"
#include "report/label_contents.h"
#include "report/label_sheet.h"
#include "report/report_file.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Resets the process's peak resident memory, so that each part is measured on its own.
void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// The labels' text in the same cells, one line each, and nothing else.
bool writeBaseline(const Labels::Geometry &g, const std::vector<Labels::Label> &labels,
                   QIODevice &device)
{
    QPdfWriter writer(&device);
    writer.setPageLayout(Labels::pageLayout(g));
    QPainter painter(&writer);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(8);
    painter.setFont(font);
    const qreal unit = writer.logicalDpiX() / 25.4;
    const qreal line = QFontMetricsF(font, &writer).lineSpacing();
    int slot = 0;
    for (const Labels::Label &label : labels) {
        if (slot == g.perPage()) {
            writer.newPage();
            slot = 0;
        }
        const QRectF cell = g.cell(slot++);
        qreal y = cell.top() * unit + line;
        for (const QString &text : { label.title, label.place, label.number }) {
            painter.drawText(QPointF((cell.left() + 25) * unit, y), text);
            y += line;
        }
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
    auto option = [&](const char *name, int fallback) {
        const qsizetype at = args.indexOf(QLatin1String(name));
        return at >= 0 && at + 1 < args.size() ? args[at + 1].toInt() : fallback;
    };
    const int runs = std::max(1, option("--runs", 5));
    const int assets = std::max(1, option("--assets", 3000));

    QTemporaryDir temp;
    const QString dataFile = temp.filePath(QStringLiteral("HOMEDATA.DAT"));
    if (!BenchUtil::generateData(dataFile,
                                 { QStringLiteral("--homes"), QStringLiteral("1"),
                                   QStringLiteral("--assets"), QString::number(assets) }))
        return 1;
    CADODataBase db;
    if (!db.Open(dataFile)) {
        std::fprintf(stderr, "%s\n", qPrintable(db.GetLastError()));
        return 1;
    }
    const Labels::Geometry sheet = Labels::presetGeometry(Labels::Sheet::Avery5160);
    const QString ownLine = QStringLiteral("If found, please call 555-0123");

    auto measure = [&](const QString &name, bool baseline) {
        Figures figures;
        const QString pdf = temp.filePath(name);
        std::vector<double> times;
        std::vector<double> cpu;
        for (int run = 0; run < runs; ++run) {
            resetPeak();
            QElapsedTimer timer;
            timer.start();
            const double cpu0 = BenchUtil::cpuMs();
            std::vector<Labels::Label> labels;
            if (!Labels::load(db, 1, { .choice = Labels::Choice::AllAssets }, labels))
                return figures;
            InventoryReport::saveFile(
                pdf, dataFile,
                [&](QIODevice &device) {
                    bool ok = false;
                    if (baseline) {
                        ok = writeBaseline(sheet, labels, device);
                    } else {
                        QPdfWriter writer(&device);
                        writer.setPageLayout(Labels::pageLayout(sheet));
                        Labels::Painter painter(sheet, 0, ownLine);
                        ok = painter.paint(writer, labels);
                        figures.pages = painter.pagesFor(labels.size());
                    }
                    return ok ? InventoryReport::SaveResult::Saved
                              : InventoryReport::SaveResult::Failed;
                },
                nullptr);
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

    const Figures plain = measure(QStringLiteral("baseline.pdf"), true);
    const Figures labels = measure(QStringLiteral("labels.pdf"), false);

    std::printf("asset labels as PDF: %d assets on Avery 5160 sheets, median of %d runs\n", assets,
                runs);
    auto row = [](const char *name, const Figures &f) {
        std::printf("  %-44s %7.0f ms (%6.0f ms CPU)  %6.1f MiB peak  %5.1f MB PDF", name, f.ms,
                    f.cpuMs, f.peak, f.bytes / 1e6);
        if (f.pages > 0)
            std::printf("  %4d pages", f.pages);
        std::printf("\n");
    };
    row("baseline: plain text in the same cells", plain);
    row("labels: QR code, wrapped title, own line", labels);
    std::printf("  ratio to the baseline: %.2fx\n", labels.ms / plain.ms);
    std::printf("  goals: under 5 s, under 150 MiB peak\n");
    return 0;
}
