// Fills a CAutoListCtrl with 100,000 rows (description, value, purchase date), shows it
// offscreen and sorts it twice by a header click; the same steps with a QStandardItemModel in a
// QTreeView are the baseline. Each side runs in its own child process so that each peak memory
// figure (VmHWM) is its own.
//
//   bench_list_widget [rows [control|baseline]]   (one side only: for a profiler)

#include "controls/auto_list_ctrl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QStandardItemModel>
#include <QTreeView>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Row
{
    QString description, value, date;
    qint32 id;
};

std::vector<Row> makeRows(int count)
{
    static const char *adjectives[] = { "Oak",   "Walnut", "Leather", "Antique", "Glass",
                                        "Brass", "Velvet", "Maple",   "Steel",   "Ceramic" };
    static const char *things[] = { "dining table", "armchair",   "bookcase",   "floor lamp",
                                    "dresser",      "wall clock", "desk",       "mirror",
                                    "sideboard",    "rug",        "television", "cabinet" };
    QRandomGenerator random(2026);
    std::vector<Row> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        Row row;
        row.description = QStringLiteral("%1 %2 #%3")
                              .arg(QLatin1String(adjectives[random.bounded(10)]),
                                   QLatin1String(things[random.bounded(12)]))
                              .arg(random.bounded(100000));
        row.value = QString::number(random.bounded(500000) / 100.0, 'f', 2);
        row.date = QStringLiteral("%1/%2/%3")
                       .arg(1 + random.bounded(12))
                       .arg(1 + random.bounded(28))
                       .arg(1990 + random.bounded(36));
        row.id = i + 1;
        rows.push_back(std::move(row));
    }
    return rows;
}

long statusKiB(const char *field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const size_t length = std::strlen(field);
    while (std::getline(status, line)) {
        if (line.compare(0, length, field) == 0)
            return std::atol(line.c_str() + length + 1);
    }
    return -1;
}

void settle(QWidget &widget)
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    widget.repaint();
}

void clickHeader(QHeaderView *header, int section)
{
    const QPointF pos(header->sectionViewportPosition(section) + 10, header->height() / 2);
    const QPointF global = header->viewport()->mapToGlobal(pos);
    QMouseEvent press(QEvent::MouseButtonPress, pos, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, pos, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(header->viewport(), &press);
    QCoreApplication::sendEvent(header->viewport(), &release);
}

struct Times
{
    double fill = 0, show = 0, sort1 = 0, sort2 = 0;
};

template<typename View>
void timeShowAndSorts(View &view, QHeaderView *header, QElapsedTimer &timer, Times &t)
{
    view.resize(800, 600);
    view.show();
    settle(view);
    t.show = timer.nsecsElapsed() / 1e6;
    timer.restart();
    clickHeader(header, 0);
    settle(view);
    t.sort1 = timer.nsecsElapsed() / 1e6;
    timer.restart();
    clickHeader(header, 0);
    settle(view);
    t.sort2 = timer.nsecsElapsed() / 1e6;
}

Times runControl(const std::vector<Row> &rows, QString &check)
{
    Times t;
    CAutoListCtrl list;
    list.InsertColumn(-1, QStringLiteral("Description"), 0, 200);
    list.InsertColumn(-1, QStringLiteral("Value"), 1, 80);
    list.InsertColumn(-1, QStringLiteral("Purchased"), 0, 90);
    QElapsedTimer timer;
    timer.start();
    list.SetRedraw(false);
    list.DeleteAllItems();
    for (const Row &row : rows) {
        const int r = list.InsertItem(-1, row.description, 0);
        list.SetItemText(r, 1, row.value);
        list.SetItemText(r, 2, row.date);
        list.SetItemData(r, row.id);
    }
    list.SetRedraw(true);
    t.fill = timer.nsecsElapsed() / 1e6;
    timer.restart();
    timeShowAndSorts(list, list.header(), timer, t);
    check = list.GetItemText(0, 0) + QStringLiteral(" .. ")
        + list.GetItemText(list.GetItemCount() - 1, 0);
    return t;
}

Times runBaseline(const std::vector<Row> &rows, QString &check)
{
    Times t;
    QStandardItemModel model(0, 3);
    model.setHorizontalHeaderLabels(
        { QStringLiteral("Description"), QStringLiteral("Value"), QStringLiteral("Purchased") });
    QTreeView view;
    view.setRootIsDecorated(false);
    view.setUniformRowHeights(true);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setModel(&model);
    view.setSortingEnabled(true);
    view.sortByColumn(-1, Qt::AscendingOrder); // unsorted until the first click
    QElapsedTimer timer;
    timer.start();
    view.setUpdatesEnabled(false);
    for (const Row &row : rows) {
        auto *description = new QStandardItem(row.description);
        description->setData(row.id, Qt::UserRole);
        model.appendRow({ description, new QStandardItem(row.value), new QStandardItem(row.date) });
    }
    view.setUpdatesEnabled(true);
    t.fill = timer.nsecsElapsed() / 1e6;
    timer.restart();
    timeShowAndSorts(view, view.header(), timer, t);
    check = model.item(0, 0)->text() + QStringLiteral(" .. ")
        + model.item(model.rowCount() - 1, 0)->text();
    return t;
}

// Child process: runs one side and prints one line of figures.
int runSide(int argc, char **argv, bool control, int count)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::vector<Row> rows = makeRows(count);
    const long before = statusKiB("VmHWM");
    QString check;
    const Times t = control ? runControl(rows, check) : runBaseline(rows, check);
    const long peak = statusKiB("VmHWM");
    std::printf("%-22s %9.1f %9.1f %9.1f %9.1f %11.1f %9.1f %9.1f\n",
                control ? "CAutoListCtrl" : "QStandardItemModel", t.fill, t.show, t.sort1, t.sort2,
                t.fill + t.sort1 + t.sort2, peak / 1024.0, (peak - before) / 1024.0);
    std::fprintf(stderr, "  %s first..last after two sorts: %s\n", control ? "control" : "baseline",
                 qPrintable(check));
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    std::printf("list_widget: %d rows, 3 columns, offscreen; times in ms, memory in MiB\n", count);
    std::printf("%-22s %9s %9s %9s %9s %11s %9s %9s\n", "", "fill", "show", "sort1", "sort2",
                "fill+sorts", "peak", "peak-data");
    std::fflush(stdout);
    const char *only = argc > 2 ? argv[2] : "";
    if (std::strcmp(only, "control") == 0 || std::strcmp(only, "baseline") == 0)
        return runSide(argc, argv, std::strcmp(only, "control") == 0, count);
    for (const bool control : { true, false }) {
        const pid_t child = fork();
        if (child == 0)
            return runSide(argc, argv, control, count);
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "run failed\n");
            return 1;
        }
    }
    std::printf("(peak = VmHWM of the process; peak-data = VmHWM growth after the texts were "
                "generated)\n");
    return 0;
}
