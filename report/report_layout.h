#pragma once
// PageLayout: the inventory report's pages, painted onto any paged device (a PDF writer, a
// printer, the print preview) in the device's own page size and margins. A cover with the
// home and its totals, a summary by group, then the assets by group: one table row each, or a
// page each. Every page carries the home and the report's date at the top and "Page N of M"
// at the foot. It knows nothing of windows or dialogs (QtGui only), so tests drive it with no
// window at all.
//
// Memory stays bounded whatever the inventory: the text is laid out once, and pictures are
// decoded at the size they are printed (at most four ahead of the painter, on other threads),
// drawn and dropped.

#include "format/display_text.h"
#include "report/report_contents.h"

#include <QLocale>
#include <QPageLayout>
#include <QPageRanges>
#include <QPageSize>

#include <functional>

class QPagedPaintDevice;

namespace InventoryReport {

// Told the share of the work done, in thousandths; returning false stops the work.
using Progress = std::function<bool(int permille)>;

class PageLayout
{
public:
    explicit PageLayout(const Contents &contents, const QLocale &locale = userLocale());

    // Paints the report onto device: every page, or only those of pages when it names any
    // (numbered from 1; the folios still count the whole report). The report is laid out before
    // the device is begun, so a stop asked for meanwhile leaves no job at all. False when
    // progress asked to stop, the device could not be painted on, or no page of pages is in the
    // report; a PDF or print job is then to be thrown away.
    bool paint(QPagedPaintDevice &device, const Progress &progress = {},
               const QPageRanges &pages = {});
    // The pages the last paint laid out, and how many of them it painted.
    int pageCount() const { return m_pageCount; }
    int paintedCount() const { return m_paintedCount; }

private:
    const Contents &m_contents;
    QLocale m_locale;
    int m_pageCount = 0;
    int m_paintedCount = 0;
};

// The paper most printers of the locale's country hold: Letter in the United States and
// Canada, A4 everywhere else.
QPageSize::PageSizeId defaultPaperSize(const QLocale &locale = userLocale());
// Portrait pages of that paper with the report's margins.
QPageLayout reportPageLayout(QPageSize::PageSizeId paper);

} // namespace InventoryReport
