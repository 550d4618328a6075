// bench_recommend_movie: Recommend Movie's search over 20,000 titles (offscreen, the real
// dialog, every title listed), against the sqlite3 shell running the same SELECT, in one run.
#include "bench_util.h"
#include "controls/auto_list_ctrl.h"
#include "db/ado_database.h"
#include "db/datafile.h"
#include "sheets/recommend_movie_dialog.h"
#include "widgets/ui.h"

#include <QApplication>
#include <QComboBox>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// Answers the count message without a person.
class QuietUi : public Ui::Services
{
public:
    int messageBox(QWidget *, const QString &text, const QString &, Ui::Icon, int, int) override
    {
        last = text;
        return Ui::Ok;
    }
    QStringList openFileNames(QWidget *, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    int runModal(QDialog &) override { return 0; }
    bool openUrl(const QUrl &) override { return false; }
    void setWaitCursor(bool) override { }
    QString last;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir temp;
    const QString path = temp.path() + QStringLiteral("/HOMEDATA.DAT");
    if (!BenchUtil::generateData(path, { QStringLiteral("--assets"), QStringLiteral("100000") }))
        return 1;
    CADODataBase db;
    if (!db.Open(path)) {
        std::fprintf(stderr, "%s\n", qPrintable(db.GetLastError()));
        return 1;
    }
    // Exactly 20,000 titles in five genres, the rest plain assets.
    db.Execute(QStringLiteral("UPDATE Assets SET CategoryId=CASE WHEN AssetId % 5 = 0 THEN 19 "
                              "ELSE 1 END;"));
    db.Execute(QStringLiteral("UPDATE Assets SET MakeModel=CASE AssetId % 25 WHEN 0 THEN "
                              "'Drama' WHEN 5 THEN 'Comedy' WHEN 10 THEN 'Romance' WHEN 15 THEN "
                              "'Western' ELSE 'Horror' END WHERE CategoryId=19;"));

    const QString select = QStringLiteral("SELECT AssetId, Description, WarrantyExpiration, "
                                          "MakeModel FROM Assets WHERE CategoryId=19 ORDER BY "
                                          "Description;");
    const BenchUtil::Times shell = BenchUtil::measure(
        5,
        [&] {
            BenchUtil::runShell({ path, select });
        },
        true);

    QuietUi ui;
    Ui::install(&ui);
    CDlgRecommendMovie dialog(db);
    dialog.show();
    auto *genre = dialog.findChild<QComboBox *>(QStringLiteral("genre"));
    QApplication::processEvents();
    genre->setEditText(QString());
    const BenchUtil::Times all = BenchUtil::measure(5, [&] {
        dialog.Search();
        QApplication::processEvents();
    });
    const int listed = dialog.list()->GetItemCount();
    const QString message = ui.last;
    genre->setEditText(QStringLiteral("Romance"));
    const BenchUtil::Times one = BenchUtil::measure(5, [&] {
        dialog.Search();
        QApplication::processEvents();
    });
    Ui::install(nullptr);

    std::printf("Recommend Movie over 20,000 titles, offscreen (median of 5; wall ms, CPU ms)\n");
    std::printf("  sqlite3 shell, same SELECT to /dev/null: %8.1f %8.1f\n", shell.wall, shell.cpu);
    std::printf("  every title (%d listed):              %8.1f %8.1f  (goal under 100 ms)\n",
                listed, all.wall, all.cpu);
    std::printf("  one genre (%d listed):                 %8.1f %8.1f\n",
                dialog.list()->GetItemCount(), one.wall, one.cpu);
    std::printf("  message: %s\n", qPrintable(message));
    std::printf("  peak memory: %.1f MiB\n", BenchUtil::peakMiB());
    return 0;
}
