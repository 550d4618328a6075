#pragma once
// Where paged documents go: Qt's print preview, the system's print dialog, or a PDF file. The
// inventory report and the labels share it: the work runs under the program's progress window,
// whose Cancel abandons a print job before anything is sent, and a PDF goes through the one
// check-and-replace sequence (report_file.h), so a failure or a cancel leaves no file behind.

#include "report/report_contents.h"

#include <QList>
#include <QPageLayout>
#include <QPageRanges>
#include <QString>

#include <functional>
#include <vector>

class CAutoListCtrl;
class QDate;
class QDialog;
class QDialogButtonBox;
class QPagedPaintDevice;
class QPushButton;
class QWidget;

namespace PageOutput {

// Told the share of the work done, in thousandths; returning false stops the work.
using Progress = std::function<bool(int permille)>;

// What a paint did: the pages the document has, and how many of them were painted.
struct Pages
{
    int total = 0;
    int painted = 0;
};

struct Document
{
    QString title; // the print job's and the PDF's title
    QPageLayout layout;
    // Positions count from the paper's edge (labels): the device's whole page is painted on,
    // whatever margins the printer keeps.
    bool fullPage = false;
    // Paints onto device every page, or only those of chosen when it names any (numbered from
    // 1), and fills in pages. False when progress asked to stop, the device failed or no page
    // of chosen is in the document. The device is begun only once there is a page to paint.
    std::function<bool(QPagedPaintDevice &, const Progress &, const QPageRanges &chosen,
                       Pages &pages)>
        paint;
};

// How a document names itself in its windows and messages.
struct Words
{
    QString previewTitle; // "Inventory Report Preview"
    QString previewName; // the preview window's object name
    QString printTitle; // "Print Inventory Report"
    QString printName; // the print dialog's object name
    QString preparing; // progress labels: preview, print, PDF
    QString printing;
    QString writing;
    QString printFailed; // the message when the printer could not be painted on
    QString noneChosen; // with %1 the document's pages: no page chosen to print is in it
    QString saveFailed; // with %1 the file and %2 the reason
};

void preview(QWidget *owner, const Document &document, const Words &words);
void print(QWidget *owner, const Document &document, const Words &words);
// Writes the document as a PDF to path, never over dataFile or its side files. True when
// written; a failure has been told to the user, a cancel leaves nothing to tell.
bool savePdf(QWidget *owner, const Document &document, const Words &words, const QString &path,
             const QString &dataFile);

// --- The controls of the dialogs that send a document here (the report's, the labels') ---

// A push button named name that never takes Enter from the dialog's default.
QPushButton *button(const QString &text, const QString &name, QWidget *parent);
// A list of choices to tick (categories, locations), headerless, about rows rows high before it
// scrolls; the list's name is its one column's.
CAutoListCtrl *tickList(const QString &name, const QString &accessibleName, int rows,
                        QWidget *parent);
// Fills list with choices, each ticked.
void fillTicked(CAutoListCtrl &list, const std::vector<InventoryReport::Choice> &choices);
void setAllChecks(CAutoListCtrl &list, bool checked);
// Pre&view, &Print..., the save button (saveText, with the mnemonic the dialog leaves free) and
// Close; the save button is the default.
struct OutputButtons
{
    QDialogButtonBox *box = nullptr;
    QList<QWidget *> tabOrder; // Preview, Print, save, Close
};
OutputButtons outputButtons(QDialog &dialog, const QString &saveText,
                            const std::function<void()> &preview,
                            const std::function<void()> &print, const std::function<void()> &save);
// The PDF's proposed name: "<home> <what> <YYYY-MM-DD>.pdf", a slash in the home's name a dash.
QString pdfName(const QString &home, const QString &what, const QDate &date);

} // namespace PageOutput
