// The report's sections as the builder lays them out: the cover, the summary and the assets,
// as table rows or as a page each.
#include "report/report_builder.h"

#include "format/display_text.h"

#include <QSet>

#include <algorithm>

namespace InventoryReport {
namespace {

constexpr qreal kPictureColumn = 68; // points: a thumbnail of about 0.85 inch
constexpr int kProgressEvery = 32; // assets between two questions to progress

QString chosenText(const Contents &contents)
{
    const bool categories = contents.options.selection == Selection::TickedCategories;
    switch (contents.options.selection) {
    case Selection::AllAssets:
        return QStringLiteral("All assets of the home");
    case Selection::TickedCategories:
    case Selection::TickedLocations:
        if (contents.chosenNames.isEmpty())
            return categories ? QStringLiteral("No category was ticked")
                              : QStringLiteral("No location was ticked");
        return (categories ? QStringLiteral("Assets in these categories: ")
                           : QStringLiteral("Assets in these locations: "))
            + contents.chosenNames.join(QStringLiteral(", "));
    }
    return {};
}

QString emptyText(const Contents &contents)
{
    switch (contents.options.selection) {
    case Selection::AllAssets:
        break;
    case Selection::TickedCategories:
        return QStringLiteral("There are no assets to list: none of this home's assets is in the "
                              "chosen categories.");
    case Selection::TickedLocations:
        return QStringLiteral("There are no assets to list: none of this home's assets is in the "
                              "chosen locations.");
    }
    return QStringLiteral("There are no assets to list: this home's inventory is empty.");
}

QString lower(Grouping grouping)
{
    return groupingName(grouping).toLower();
}

} // namespace

void SliceBuilder::cover(const Contents &contents)
{
    addParagraph(QStringLiteral("Home Inventory Report"), Title, 0, m_width, true);
    addGap(6);
    addParagraph(contents.homeDescription, Subtitle, 0, m_width);
    if (!contents.homeAddress.isEmpty())
        addParagraph(contents.homeAddress, Body, 0, m_width);
    addGap(14);
    if (contents.options.pictures
        && (contents.homePictureAttachment != 0 || !contents.homePicture.isEmpty())) {
        addPicture(contents.homePicture, QSizeF(pt(288), pt(216)), contents.homePictureAttachment);
        addGap(10);
    }

    const qreal labelWidth = pt(150);
    const std::vector<Column> columns = { { 0, labelWidth, {}, false, false },
                                          { labelWidth, m_width - labelWidth, {}, false, false } };
    auto fact = [&](const QString &label, const QString &value) {
        addRow(columns, { { { label, Bold } }, { { value, Body } } });
    };
    fact(QStringLiteral("Report date"),
         dateText(COleDateTime::fromDate(contents.date), true, m_locale));
    fact(QStringLiteral("Assets"), m_locale.toString(contents.totals.count));
    fact(QStringLiteral("Total purchase price"), money(contents.totals.purchase));
    fact(QStringLiteral("Total current value"), money(contents.totals.current));
    fact(QStringLiteral("Total replacement value"), money(contents.totals.replacement));
    fact(QStringLiteral("Assets chosen"), chosenText(contents));
    fact(QStringLiteral("Grouped by"), groupingName(contents.options.grouping));
    if (contents.assets.empty()) {
        addGap(14);
        addParagraph(emptyText(contents), Bold, 0, m_width);
    }
}

qreal SliceBuilder::fitting(const QStringList &texts, FontRole role, qreal least) const
{
    qreal widest = 0;
    for (const QString &text : texts)
        widest = std::max(widest, metrics(role).horizontalAdvance(text));
    return std::max(pt(least), widest + 2 * pt(kCellPadding));
}

void SliceBuilder::summary(const Contents &contents)
{
    // The amounts never wrap inside a number: the columns are as wide as the widest figure they
    // hold (the totals, in bold, are the widest).
    QStringList amounts;
    const auto addAmounts = [&](const Totals &totals) {
        amounts << money(totals.purchase) << money(totals.current) << money(totals.replacement);
    };
    addAmounts(contents.totals);
    for (const Group &group : contents.groups)
        addAmounts(group.totals);
    const QStringList counts { m_locale.toString(contents.totals.count) };
    const qreal count = fitting(counts, Bold, 48);
    const qreal amount = fitting(amounts, Bold, 84);
    const qreal name = std::max(pt(72), m_width - count - 3 * amount);
    qreal x = name;
    std::vector<Column> columns = { { 0, name, groupingName(contents.options.grouping) } };
    for (const auto &[width, title] : { std::pair(count, QStringLiteral("Assets")),
                                        std::pair(amount, QStringLiteral("Purchase price")),
                                        std::pair(amount, QStringLiteral("Current value")),
                                        std::pair(amount, QStringLiteral("Replacement value")) }) {
        columns.push_back({ x, width, title, true });
        x += width;
    }

    const QString title = QStringLiteral("Summary by ") + lower(contents.options.grouping);
    const int continuation = addContinuation(
        { titleSlice(title + QStringLiteral(" (continued)"), Heading), headingRow(columns) });
    startPage();
    Slice heading = titleSlice(title, Heading);
    heading.keepWithNext = true;
    push(std::move(heading));
    Slice head = headingRow(columns);
    head.keepWithNext = true;
    push(std::move(head));

    auto figures = [&](const QString &label, const Totals &totals, FontRole font) {
        return std::vector<Cell> { { { label, font } },
                                   { { m_locale.toString(totals.count), font } },
                                   { { money(totals.purchase), font } },
                                   { { money(totals.current), font } },
                                   { { money(totals.replacement), font } } };
    };
    for (const Group &group : contents.groups)
        addRow(columns, figures(group.name, group.totals, Body), {}, {}, continuation);
    addRow(columns, figures(QStringLiteral("Total"), contents.totals, Bold), {}, {}, continuation,
           true);
}

std::vector<SliceBuilder::Column> SliceBuilder::assetColumns(const Contents &contents) const
{
    // The dates and amounts are measured as the locale writes them (a four-digit year, a value
    // in the millions), so that none wraps in the middle; the asset's own column takes the rest.
    // The widest amount is that of the largest or the smallest value, whose digits are most.
    QSet<qint64> purchaseDays, warrantyDays;
    QStringList dates;
    QStringList warranties { QStringLiteral("none") };
    double least = 0, most = 0, leastPrice = 0, mostPrice = 0;
    for (const Asset &asset : contents.assets) {
        if (asset.purchaseDate.isValid()) {
            const auto day = qint64(asset.purchaseDate.days());
            if (!purchaseDays.contains(day)) {
                purchaseDays.insert(day);
                dates << date(asset.purchaseDate);
            }
        }
        if (!asset.video && asset.hasWarranty()) {
            const auto day = qint64(asset.warranty.days());
            if (!warrantyDays.contains(day)) {
                warrantyDays.insert(day);
                warranties << date(asset.warranty);
            }
        }
        leastPrice = std::min(leastPrice, asset.purchasePrice);
        mostPrice = std::max(mostPrice, asset.purchasePrice);
        least = std::min({ least, asset.currentValue, asset.replacementValue });
        most = std::max({ most, asset.currentValue, asset.replacementValue });
    }
    const qreal picture = contents.options.pictures ? pt(kPictureColumn) : 0;
    const qreal purchased =
        fitting(dates + QStringList { money(leastPrice), money(mostPrice) }, Body, 92);
    const qreal value = fitting({ money(least), money(most) }, Body, 66);
    const qreal warranty = fitting(warranties, Body, 56);
    const qreal asset = std::max(pt(72), m_width - picture - purchased - 2 * value - warranty);
    std::vector<Column> columns;
    qreal x = 0;
    if (contents.options.pictures) {
        columns.push_back({ x, picture, QStringLiteral("Picture"), false, true });
        x += picture;
    }
    for (const auto &[width, title, right] :
         { std::tuple(asset, QStringLiteral("Asset"), false),
           std::tuple(purchased, QStringLiteral("Purchased"), false),
           std::tuple(value, QStringLiteral("Current value"), true),
           std::tuple(value, QStringLiteral("Replacement value"), true),
           std::tuple(warranty, QStringLiteral("Warranty"), false) }) {
        columns.push_back({ x, width, title, right, false });
        x += width;
    }
    return columns;
}

std::vector<SliceBuilder::Cell> SliceBuilder::assetCells(const Asset &asset,
                                                         Grouping grouping) const
{
    Cell item { { asset.description, Bold } };
    if (grouping == Grouping::Location) {
        item.push_back(
            { QStringLiteral("Category: ")
              + (asset.categoryId == kNone ? noneGroupName(Grouping::Category) : asset.category) });
    } else {
        item.push_back(
            { QStringLiteral("Location: ")
              + (asset.locationId == kNone ? noneGroupName(Grouping::Location) : asset.location) });
    }
    if (asset.video) {
        item.push_back({ QStringLiteral("Genre: ")
                         + (asset.makeModel.isEmpty() ? QStringLiteral("N/A") : asset.makeModel) });
        item.push_back(
            { QStringLiteral("Release year: ") + QString::number(asset.warranty.year()) });
    } else if (!asset.makeModel.isEmpty()) {
        item.push_back({ QStringLiteral("Make and model: ") + asset.makeModel });
    }
    if (!asset.serialNumber.isEmpty())
        item.push_back({ QStringLiteral("Serial number: ") + asset.serialNumber });

    Cell purchased { { date(asset.purchaseDate) },
                     { asset.vendor },
                     { money(asset.purchasePrice) } };
    Cell warranty;
    if (!asset.video)
        warranty.push_back({ asset.hasWarranty() ? date(asset.warranty) : QStringLiteral("none") });
    std::vector<Cell> cells;
    if (m_pictureColumn)
        cells.emplace_back();
    cells.insert(cells.end(),
                 { item,
                   purchased,
                   { { money(asset.currentValue) } },
                   { { money(asset.replacementValue) } },
                   warranty });
    return cells;
}

std::vector<std::pair<QString, QString>> SliceBuilder::assetFields(const Asset &asset) const
{
    const QString category =
        asset.categoryId == kNone ? noneGroupName(Grouping::Category) : asset.category;
    const QString location =
        asset.locationId == kNone ? noneGroupName(Grouping::Location) : asset.location;
    std::vector<std::pair<QString, QString>> fields = {
        { QStringLiteral("Category"), category },
        { QStringLiteral("Location"), location },
    };
    if (asset.video)
        fields.emplace_back(QStringLiteral("Genre"),
                            asset.makeModel.isEmpty() ? QStringLiteral("N/A") : asset.makeModel);
    else
        fields.emplace_back(QStringLiteral("Make and model"), asset.makeModel);
    fields.insert(fields.end(),
                  { { QStringLiteral("Serial number"), asset.serialNumber },
                    { QStringLiteral("Purchase date"), date(asset.purchaseDate) },
                    { QStringLiteral("Place of purchase"), asset.vendor },
                    { QStringLiteral("Purchase price"), money(asset.purchasePrice) },
                    { QStringLiteral("Current value"), money(asset.currentValue) },
                    { QStringLiteral("Replacement value"), money(asset.replacementValue) } });
    if (asset.video)
        fields.emplace_back(QStringLiteral("Release year"), QString::number(asset.warranty.year()));
    else
        fields.emplace_back(QStringLiteral("Warranty"),
                            asset.hasWarranty() ? date(asset.warranty) : QStringLiteral("none"));
    return fields;
}

bool SliceBuilder::assetTable(const Contents &contents, const std::function<bool(double)> &progress)
{
    const Options &options = contents.options;
    m_pictureColumn = options.pictures;
    const std::vector<Column> columns = assetColumns(contents);
    const qreal box = pt(kPictureColumn) - 2 * pt(2.5);
    const size_t total = contents.assets.size();

    startPage();
    addParagraph(QStringLiteral("Assets by ") + lower(options.grouping), Heading, 0, m_width);
    addGap(4);
    for (const Group &group : contents.groups) {
        const int continuation =
            addContinuation({ titleSlice(group.name + QStringLiteral(" (continued)"), Subtitle),
                              headingRow(columns) });
        Slice heading = titleSlice(group.name, Subtitle);
        heading.keepWithNext = true;
        push(std::move(heading));
        Slice head = headingRow(columns);
        head.keepWithNext = true;
        push(std::move(head));
        for (size_t i = group.first; i < group.first + size_t(group.totals.count); ++i) {
            const Asset &asset = contents.assets[i];
            Cell notes;
            if (options.notes && !asset.notes.isEmpty())
                notes.push_back({ QStringLiteral("Notes: ") + asset.notes });
            if (const QString list = attachmentList(asset); !list.isEmpty())
                notes.push_back({ QStringLiteral("Attachments: ") + list });
            std::optional<RowPicture> picture;
            if (options.pictures && (asset.pictureAttachment != 0 || !asset.picture.isEmpty()))
                picture =
                    RowPicture { asset.picture, QSizeF(box, box * 0.75), asset.pictureAttachment };
            addRow(columns, assetCells(asset, options.grouping), notes, picture, continuation,
                   false, options.pictures ? photosOf(asset) : std::vector<qint64>());
            if (progress && i % kProgressEvery == 0 && !progress(double(i) / double(total)))
                return false;
        }
        addGap(10);
    }
    return true;
}

bool SliceBuilder::assetPages(const Contents &contents, const std::function<bool(double)> &progress)
{
    const Options &options = contents.options;
    m_pictureColumn = false;
    const qreal labelWidth = pt(130);
    const std::vector<Column> columns = { { 0, labelWidth, {}, false, false },
                                          { labelWidth, m_width - labelWidth, {}, false, false } };
    const QString groupLabel = groupingName(options.grouping) + QStringLiteral(": ");
    const size_t total = contents.assets.size();

    for (const Group &group : contents.groups) {
        for (size_t i = group.first; i < group.first + size_t(group.totals.count); ++i) {
            const Asset &asset = contents.assets[i];
            const int continuation = addContinuation(
                { titleSlice(asset.description + QStringLiteral(" (continued)"), Bold) });
            startPage();
            addParagraph(groupLabel + group.name, Small, 0, m_width);
            addParagraph(asset.description, Heading, 0, m_width, true);
            addGap(6);
            if (options.pictures && (asset.pictureAttachment != 0 || !asset.picture.isEmpty())) {
                addPicture(asset.picture, QSizeF(pt(324), pt(243)), asset.pictureAttachment);
                addGap(8);
            }
            for (const auto &[label, value] : assetFields(asset))
                addRow(columns, { { { label, Bold } }, { { value, Body } } }, {}, {}, continuation);
            if (options.notes && !asset.notes.isEmpty()) {
                addGap(10);
                Slice heading = titleSlice(QStringLiteral("Notes"), Bold);
                heading.keepWithNext = true;
                heading.continuation = continuation;
                push(std::move(heading));
                addParagraph(asset.notes, Body, 0, m_width, false, continuation);
            }
            if (!asset.attachments.empty()) {
                addGap(10);
                Slice heading = titleSlice(QStringLiteral("Attachments"), Bold);
                heading.keepWithNext = true;
                heading.continuation = continuation;
                push(std::move(heading));
                for (const QString &line : attachmentList(asset).split(QStringLiteral("; ")))
                    addParagraph(line, Body, 0, m_width, false, continuation);
                if (options.pictures) {
                    for (Slice &strip :
                         photoStrip(photosOf(asset), 0, m_width, QSizeF(pt(108), pt(81)))) {
                        strip.continuation = continuation;
                        push(std::move(strip));
                    }
                }
            }
            if (progress && i % kProgressEvery == 0 && !progress(double(i) / double(total)))
                return false;
        }
    }
    return true;
}

QString SliceBuilder::attachmentList(const Asset &asset)
{
    QStringList kinds;
    for (Attachments::Kind kind : Attachments::kKinds) {
        QStringList names;
        for (const Attachment &attachment : asset.attachments) {
            if (attachment.kind == kind)
                names << attachment.fileName;
        }
        if (!names.isEmpty())
            kinds << Attachments::kindName(kind) + QStringLiteral(": ")
                    + names.join(QStringLiteral(", "));
    }
    return kinds.join(QStringLiteral("; "));
}

std::vector<qint64> SliceBuilder::photosOf(const Asset &asset)
{
    std::vector<qint64> photos;
    for (const Attachment &attachment : asset.attachments) {
        if (attachment.kind == Attachments::Kind::Photo && attachment.image
            && attachment.id != asset.pictureAttachment)
            photos.push_back(attachment.id);
    }
    return photos;
}

void SliceBuilder::receiptPages(const Contents &contents)
{
    const QString groupLabel = groupingName(contents.options.grouping) + QStringLiteral(": ");
    for (const Group &group : contents.groups) {
        for (size_t i = group.first; i < group.first + size_t(group.totals.count); ++i) {
            const Asset &asset = contents.assets[i];
            for (const Attachment &attachment : asset.attachments) {
                if (attachment.kind != Attachments::Kind::Receipt || !attachment.image)
                    continue;
                startPage();
                Slice title = titleSlice(QStringLiteral("Receipt: ") + asset.description, Heading);
                title.keepWithNext = true;
                const qreal used = title.height;
                push(std::move(title));
                const QString line =
                    groupLabel + group.name + QStringLiteral(" • ") + attachment.fileName;
                const qreal lines = qreal(wrap(line, Small, m_width).size());
                addParagraph(line, Small, 0, m_width, true);
                addGap(6);
                // The rest of the page, for the receipt to be read.
                const qreal room =
                    m_bodyHeight - used - lines * metrics(Small).lineSpacing() - pt(6) - pt(8);
                Slice slice;
                slice.height = std::max(pt(72), room) + pt(4);
                Piece picture;
                picture.kind = Piece::Picture;
                picture.rect = QRectF(0, 0, m_width, std::max(pt(72), room));
                picture.attachment = attachment.id;
                picture.detailed = true;
                slice.pieces.push_back(picture);
                push(std::move(slice));
            }
        }
    }
}

} // namespace InventoryReport
