// bench_inventory_search: typing a six-letter word letter by letter into the Home Inventory's
// search box over 100,000 assets (offscreen), each keystroke timed from the key press to the
// list repainted, beside a plain QSortFilterProxyModel (fixed string, any case, over the same
// rows' texts) behind a line edit and a tree view, in the same run. Then the filtering alone,
// in memory (CListModel's filter words over the folded keys) against SQLite FTS5 (a trigram
// index over the same keys), the alternative that was measured and not taken.
#include "bench_host.h"
#include "bench_util.h"
#include "controls/auto_list_ctrl.h"
#include "controls/list_model.h"
#include "db/ado_recordset.h"
#include "db/datafile.h"
#include "db/lookups.h"
#include "format/search_text.h"
#include "records/asset_search.h"
#include "views/inventory_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSet>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QTreeView>
#include <QVBoxLayout>

#include <sqlite3.h>

namespace {

// Its first letter is in every asset's key (serial numbers start "SN-"), so the first keystroke
// lists all 100,000 rows: the worst case.
const QString kWord = QStringLiteral("stereo");
constexpr int kRounds = 5;

// The CPU milliseconds of one call of work: wall time says little on a machine others share.
double cpuMsOf(const std::function<void()> &work)
{
    const double start = BenchUtil::cpuMs();
    work();
    return BenchUtil::cpuMs() - start;
}

void typeLetter(QWidget *target, QChar letter)
{
    const int key = Qt::Key_A + (letter.unicode() - 'a');
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(letter));
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(letter));
    QApplication::sendEvent(target, &release);
}

// kRounds times: the box emptied (not timed), then the word typed, each key timed until the
// window has handled everything it caused (filter, layout, paint); wall and CPU milliseconds.
struct Keystrokes
{
    std::vector<double> wall, cpu;
};
Keystrokes typeWord(QLineEdit *box)
{
    Keystrokes times;
    for (int round = 0; round < kRounds; ++round) {
        box->clear();
        QApplication::processEvents();
        for (QChar letter : kWord) {
            const double cpu = BenchUtil::cpuMs();
            QElapsedTimer timer;
            timer.start();
            typeLetter(box, letter);
            QApplication::processEvents();
            times.wall.push_back(timer.nsecsElapsed() / 1e6);
            times.cpu.push_back(BenchUtil::cpuMs() - cpu);
        }
    }
    return times;
}

// The rows as the proxy baseline sees them: the description, and every searched text of the
// asset in one column.
void fillBaseline(CADODataBase &db, CListModel &model)
{
    CADORecordset rs(db);
    rs.Open(QStringLiteral(
        "SELECT a.AssetId, a.Description, a.Description || ' ' || IFNULL(a.MakeModel, '') || ' ' "
        "|| IFNULL(a.SerialNumber, '') || ' ' || IFNULL(a.Vendor, '') || ' ' || "
        "IFNULL(a.Notes, '') || ' ' || IFNULL(r.Description, '') || ' ' || "
        "IFNULL(c.Description, '') FROM Assets a LEFT JOIN Areas r ON r.AreaId=a.AreaId "
        "LEFT JOIN Categories c ON c.CategoryId=a.CategoryId WHERE a.HomeId=1 "
        "ORDER BY a.Description;"));
    CListModel::BatchUpdate batch(model);
    for (; !rs.IsEof(); rs.MoveNext()) {
        QString description, texts;
        qint32 id = 0;
        rs.GetLong(0, id);
        rs.GetString(1, description);
        rs.GetString(2, texts);
        const int row = model.InsertItem(-1, description);
        model.SetItemText(row, 1, texts);
        model.SetItemData(row, id);
    }
}

// FTS5 over the same folded keys: the rows matching one prefix of the word, as the list would
// need them (a pass over its rows' ids). Under three letters the trigram index cannot help and a
// LIKE scans the table.
int ftsMatches(sqlite3 *fts, const QByteArray &prefix, const std::vector<qint32> &rowIds)
{
    const char *sql = prefix.size() < 3 ? "SELECT rowid FROM search WHERE k LIKE ?1;"
                                        : "SELECT rowid FROM search WHERE search MATCH ?1;";
    const QByteArray argument = prefix.size() < 3 ? "%" + prefix + "%" : "\"" + prefix + "\"";
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(fts, sql, -1, &stmt, nullptr);
    sqlite3_bind_text(stmt, 1, argument.constData(), int(argument.size()), SQLITE_STATIC);
    QSet<qint32> ids;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        ids.insert(qint32(sqlite3_column_int64(stmt, 0)));
    sqlite3_finalize(stmt);
    return int(std::count_if(rowIds.begin(), rowIds.end(),
                             [&ids](qint32 id) { return ids.contains(id); }));
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir temp;
    BenchUtil::offscreenWithOwnSettings(temp.path());
    QApplication app(argc, argv);
    const QString path = BenchUtil::dataFile(app.arguments().value(1), temp.path());
    if (path.isEmpty())
        return 1;
    BenchHost host;
    if (!host.db.Open(path) || !host.SetCurrentHome(1)) {
        std::fprintf(stderr, "%s\n", qPrintable(host.db.GetLastError()));
        return 1;
    }

    // The program: the Home Inventory view with its search box.
    auto *view = new CInventoryView(host, &host.window);
    host.window.resize(640, 480);
    view->resize(640, 480);
    host.window.show();
    view->show();
    view->Refresh(0);
    QApplication::processEvents();
    const int assets = view->list()->GetItemCount();
    QElapsedTimer prepareTimer;
    prepareTimer.start();
    view->searchBox()->setFocus(); // reads and folds the texts, once per fill
    QApplication::processEvents();
    const double prepare = prepareTimer.nsecsElapsed() / 1e6;
    const Keystrokes programTimes = typeWord(view->searchBox());
    const BenchUtil::Spread program = BenchUtil::spread(programTimes.wall);
    const BenchUtil::Spread programCpu = BenchUtil::spread(programTimes.cpu);
    const int programMatches = view->list()->GetItemCount();
    const double programPeak = BenchUtil::peakMiB();
    view->searchBox()->clear();
    host.window.hide();

    // The baseline: a plain proxy over the same rows, behind a line edit and a tree view.
    QWidget window;
    auto *box = new QLineEdit(&window);
    auto *tree = new QTreeView(&window);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(box);
    layout->addWidget(tree);
    CListModel rows;
    rows.InsertColumn(0, QStringLiteral("Items"));
    rows.InsertColumn(1, QStringLiteral("Texts"));
    fillBaseline(host.db, rows);
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&rows);
    proxy.setFilterKeyColumn(1);
    proxy.setFilterCaseSensitivity(Qt::CaseInsensitive);
    tree->setUniformRowHeights(true);
    tree->setRootIsDecorated(false);
    tree->setModel(&proxy);
    tree->hideColumn(1);
    QObject::connect(box, &QLineEdit::textChanged, &proxy,
                     &QSortFilterProxyModel::setFilterFixedString);
    window.resize(640, 480);
    window.show();
    QApplication::processEvents();
    box->setFocus();
    const Keystrokes baselineTimes = typeWord(box);
    const BenchUtil::Spread baseline = BenchUtil::spread(baselineTimes.wall);
    const BenchUtil::Spread baselineCpu = BenchUtil::spread(baselineTimes.cpu);
    const int baselineMatches = proxy.rowCount();
    window.hide();

    // The filtering alone: in memory over the folded keys ...
    CListModel bare;
    bare.InsertColumn(0, QStringLiteral("Items"));
    Lookups::fillList(host.db, bare, QStringLiteral("Assets"), QStringLiteral("AssetId"), 0,
                      QStringLiteral("WHERE HomeId=1 "),
                      QStringLiteral("CurrentValue, Picture2, CategoryId"));
    const QHash<qint32, QByteArray> keys = AssetSearch::keys(host.db, 1, 0);
    bare.SetFilterKeys([&](int row) { return keys.value(bare.GetItemData(row)); });
    std::vector<qint32> rowIds;
    for (int row = 0; row < bare.GetItemCount(); ++row)
        rowIds.push_back(bare.GetItemData(row));
    std::vector<double> memoryTimes;
    for (int round = 0; round < kRounds; ++round) {
        bare.SetFilterWords({});
        for (int n = 1; n <= kWord.size(); ++n) {
            const QList<QByteArray> words = SearchText::words(kWord.left(n));
            memoryTimes.push_back(cpuMsOf([&] { bare.SetFilterWords(words); }));
        }
    }
    const BenchUtil::Spread memory = BenchUtil::spread(memoryTimes);

    // ... and through an FTS5 trigram index over the same keys.
    sqlite3 *fts = nullptr;
    sqlite3_open(":memory:", &fts);
    QElapsedTimer ftsBuild;
    ftsBuild.start();
    sqlite3_exec(fts, "CREATE VIRTUAL TABLE search USING fts5(k, tokenize='trigram'); BEGIN;",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(fts, "INSERT INTO search (rowid, k) VALUES (?1, ?2);", -1, &insert, nullptr);
    for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
        sqlite3_bind_int64(insert, 1, it.key());
        sqlite3_bind_text(insert, 2, it.value().constData(), int(it.value().size()), SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(fts, "COMMIT;", nullptr, nullptr, nullptr);
    const double ftsBuildMs = ftsBuild.nsecsElapsed() / 1e6;
    std::vector<double> ftsTimes;
    int ftsCount = 0;
    for (int round = 0; round < kRounds; ++round) {
        for (int n = 1; n <= kWord.size(); ++n) {
            const QByteArray prefix = kWord.left(n).toUtf8();
            ftsTimes.push_back(cpuMsOf([&] { ftsCount = ftsMatches(fts, prefix, rowIds); }));
        }
    }
    sqlite3_close(fts);
    const BenchUtil::Spread fts5 = BenchUtil::spread(ftsTimes);

    std::printf("Home Inventory search, \"%s\" typed letter by letter over %d assets, %d times "
                "(offscreen; ms per keystroke, key to repainted list; wall, and CPU for a busy "
                "machine)\n",
                qPrintable(kWord), assets, kRounds);
    std::printf("  QSortFilterProxyModel, fixed string: wall median %7.2f worst %7.2f, CPU median "
                "%7.2f worst %7.2f (%d rows left)\n",
                baseline.median, baseline.worst, baselineCpu.median, baselineCpu.worst,
                baselineMatches);
    std::printf("  search box (every word, any accent): wall median %7.2f worst %7.2f, CPU median "
                "%7.2f worst %7.2f (%d rows left)\n",
                program.median, program.worst, programCpu.median, programCpu.worst, programMatches);
    std::printf("  ratio to the proxy, CPU: median %.2fx, worst %.2fx (goal: at most 1.5x); "
                "worst keystroke goal: under 16 ms\n",
                programCpu.median / baselineCpu.median, programCpu.worst / baselineCpu.worst);
    std::printf("  once per fill, as the box takes the focus: texts read and folded in %.1f ms\n",
                prepare);
    std::printf("Filtering alone, per keystroke (CPU):\n");
    std::printf("  in memory, CListModel filter words:    median %6.2f  worst %6.2f\n",
                memory.median, memory.worst);
    std::printf("  SQLite FTS5 trigram index:             median %6.2f  worst %6.2f  (%d rows; "
                "index built in %.0f ms)\n",
                fts5.median, fts5.worst, ftsCount, ftsBuildMs);
    std::printf("Peak memory: %.1f MiB after the search box (the view, its list and keys); "
                "%.1f MiB at the end, with the baseline and FTS5 as well\n",
                programPeak, BenchUtil::peakMiB());
    return 0;
}
