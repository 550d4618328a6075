#include "report/report_flow.h"

namespace InventoryReport {

std::vector<PageSpan> paginate(const std::vector<Slice> &slices,
                               const std::vector<Slice> &continuations, qreal bodyHeight)
{
    std::vector<PageSpan> pages;
    PageSpan page;
    qreal y = 0;
    auto startPage = [&](size_t at, int continuation) {
        if (page.end > page.first)
            pages.push_back(page);
        page = { at, at, continuation };
        y = continuation >= 0 ? continuations[size_t(continuation)].height : 0;
    };

    for (size_t i = 0; i < slices.size(); ++i) {
        const Slice &slice = slices[i];
        const bool empty = page.end == page.first;
        if (slice.newPage && !empty) {
            startPage(i, -1);
        } else if (!empty) {
            // A slice that opens a group kept together asks room for all of it; inside the
            // group (whose whole did not fit a page) each slice asks only for itself.
            const bool insideGroup = i > 0 && slices[i - 1].keepWithNext;
            qreal needed = slice.height;
            if (!insideGroup) {
                for (size_t j = i;
                     slices[j].keepWithNext && j + 1 < slices.size() && !slices[j + 1].newPage; ++j)
                    needed += slices[j + 1].height;
            }
            if (y + needed > bodyHeight)
                startPage(i, slice.continuation);
        }
        y += slice.height;
        page.end = i + 1;
    }
    if (page.end > page.first || pages.empty())
        pages.push_back(page);
    return pages;
}

} // namespace InventoryReport
