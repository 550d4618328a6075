#include "views/today_view.h"

#include "controls/label.h"
#include "format/display_text.h"
#include "platform/busy.h"
#include "platform/settings_key.h"
#include "records/attachment_store.h"
#include "records/attachments.h"
#include "records/home.h"
#include "records/home_figures.h"
#include "records/maintenance_plan.h"
#include "records/task.h"
#include "records/warranties.h"
#include "sheets/home_sheet.h"

#include <QDateTime>
#include <QKeyEvent>
#include <QPainter>
#include <QTime>
#include <QTimer>
#include <algorithm>

namespace {

// The lines share the band the four have, from 100 pixels above the bottom of the view, clear
// of the picture: the four 25 pixels apart; with the warranty or maintenance line, five 20
// apart; with both, six 16 apart.
constexpr int kBandTop = 100;
constexpr int kLineSpacing[] = { 25, 20, 16 };
constexpr int kLineLeft = 8;

qint32 readSetting(const CSettingsKey &settings, const QString &name)
{
    qint32 value = 0;
    if (!settings.ReadNumber(name, value))
        return 0;
    return value;
}

// The settings value that keeps the inventory's worth between runs: "stamp home category
// total", the total with every digit a double holds.
const QString kRememberedWorth = QStringLiteral("InventoryWorth");

QString rememberedWorthText(const QByteArray &stamp, qint32 home, qint32 category, double total)
{
    return QStringLiteral("%1 %2 %3 %4")
        .arg(QString::fromLatin1(stamp))
        .arg(home)
        .arg(category)
        .arg(total, 0, 'g', 17);
}

} // namespace

CTodayView::CTodayView(ViewHost &host, QWidget *parent)
    : CFormView(host, parent)
{
    // The four lines, then the warranty and maintenance lines that join them only when they
    // have something to say.
    const char *const names[] = { "homeLine",   "tasksLine",    "inventoryLine",
                                  "equityLine", "warrantyLine", "maintenanceLine" };
    const QString initial[] = { QStringLiteral("Home Description Goes here"),
                                QStringLiteral("<value>"),
                                QStringLiteral("<value>"),
                                QStringLiteral("<value>"),
                                QString(),
                                QString() };
    for (int i = 0; i < 6; ++i) {
        auto *line = new CLabel(initial[i], this);
        line->setObjectName(QString::fromLatin1(names[i]));
        line->setTextFormat(Qt::PlainText);
        line->SetBkColor(QColor(Qt::white));
        if (i == 0) {
            line->SetTitleStyle();
        } else {
            line->SetTextColor(QColor(Qt::black));
            line->SetFontBold(false);
        }
        line->SetHoverUnderline(true);
        // The lines are links: Tab reaches them and Enter or Space follows them.
        line->setFocusPolicy(Qt::StrongFocus);
        line->installEventFilter(this);
        line->setGeometry(kLineLeft, 0, 500, 15);
        if (i < 4)
            m_lines[i] = line;
        else if (i == 4)
            m_warrantyLine = line;
        else
            m_maintenanceLine = line;
    }
    m_warrantyLine->hide();
    m_maintenanceLine->hide();
    // Read (and tabbed through) in the order shown: under the inventory line.
    m_warrantyLine->stackUnder(equityLine());
    m_maintenanceLine->stackUnder(equityLine());
    setTabOrder(inventoryLine(), m_warrantyLine);
    setTabOrder(m_warrantyLine, m_maintenanceLine);
    setTabOrder(m_maintenanceLine, equityLine());
    connect(m_warrantyLine, &CLabel::clicked, this, [this] { this->host().ShowWarranties(); });
    connect(m_maintenanceLine, &CLabel::clicked, this, [this] { this->host().ShowMaintenance(); });
    connect(homeLine(), &CLabel::clicked, this, [this] { EditHome(0); });
    connect(tasksLine(), &CLabel::clicked, this, &CTodayView::OnTasksLine);
    connect(inventoryLine(), &CLabel::clicked, this, &CTodayView::OnInventoryLine);
    connect(equityLine(), &CLabel::clicked, this, [this] { EditHome(1); });
    setFocusProxy(homeLine());

    // The warranty line counts days: at midnight it is counted again for the new day, even with
    // the window left open for days.
    m_midnight = new QTimer(this);
    m_midnight->setSingleShot(true);
    m_midnight->setTimerType(Qt::PreciseTimer);
    connect(m_midnight, &QTimer::timeout, this, &CTodayView::followTheDate);
}

int CTodayView::activeTasks() const
{
    if (const std::optional<int> listed = host().filledActiveTaskCount())
        return *listed;
    return TaskList::activeCount(host().database(),
                                 readSetting(host().settings(), QStringLiteral("TasksFilter")));
}

bool CTodayView::worthAtHand()
{
    const qint32 homeId = host().currentHomeId();
    if (homeId < 1 || host().filledInventoryTotal())
        return true;
    // A figure counted here holds only while the file is as it was counted from: assets change
    // behind a Home Inventory that waits to be shown (the Warranties dialog's sheet, a category
    // deleted from an asset sheet), and a file that cannot be stamped is counted every time.
    const qint32 category = readSetting(host().settings(), QStringLiteral("InventoryCategory"));
    const QByteArray stamp = HomeFigures::fileStamp(host().database());
    if (m_countedTotal && m_countedHome == homeId && m_countedCategory == category
        && !stamp.isEmpty() && stamp == m_countedStamp)
        return true;
    m_countedTotal = rememberedWorth(homeId, category);
    m_countedHome = homeId;
    m_countedCategory = category;
    m_countedStamp = stamp;
    return m_countedTotal.has_value();
}

std::optional<double> CTodayView::inventoryTotal()
{
    const qint32 homeId = host().currentHomeId();
    if (homeId < 1)
        return 0.0;
    if (const std::optional<double> listed = host().filledInventoryTotal())
        return *listed;
    // The Home Inventory's own figure is not current: one indexed aggregate statement, kept for
    // as long as the home, the category and the file stay the same.
    if (!worthAtHand()) {
        bool counted = false;
        const double total =
            HomeFigures::inventoryTotal(host().database(), homeId, m_countedCategory, &counted);
        if (!counted)
            return std::nullopt;
        m_countedTotal = total;
    }
    return *m_countedTotal;
}

std::optional<double> CTodayView::rememberedWorth(qint32 homeId, qint32 category) const
{
    QString kept;
    if (!host().settings().ReadString(kRememberedWorth, kept))
        return std::nullopt;
    const QStringList parts = kept.split(QLatin1Char(' '));
    const QByteArray stamp = HomeFigures::fileStamp(host().database());
    bool ok = parts.size() == 4 && !stamp.isEmpty();
    const double total = ok ? parts[3].toDouble(&ok) : 0.0;
    if (!ok || kept != rememberedWorthText(stamp, homeId, category, total))
        return std::nullopt;
    return total;
}

void CTodayView::RememberInventoryWorth()
{
    // Counted again from the file rather than taken from the lines: the file may have changed
    // behind the views (a category deleted from an asset sheet, another program), and a figure
    // is only worth keeping with the stamp of the very file it was counted from. A stamp that
    // moved during the count, or a count that failed, keeps nothing, and nothing stale either.
    CADODataBase &db = host().database();
    const qint32 homeId = host().currentHomeId();
    const qint32 category = readSetting(host().settings(), QStringLiteral("InventoryCategory"));
    const QByteArray stamp = HomeFigures::fileStamp(db);
    bool counted = false;
    const double total = homeId < 1 || stamp.isEmpty()
        ? 0.0
        : HomeFigures::inventoryTotal(db, homeId, category, &counted);
    if (counted && HomeFigures::fileStamp(db) == stamp)
        host().settings().WriteString(kRememberedWorth,
                                      rememberedWorthText(stamp, homeId, category, total));
    else
        host().settings().DeleteValue(kRememberedWorth);
}

void CTodayView::UpdateLines()
{
    homeLine()->SetText(host().currentHome().m_strDescription);

    const int active = activeTasks();
    tasksLine()->SetFontBold(active > 0);
    if (active == 1)
        tasksLine()->SetText(QStringLiteral("1 Active task"));
    else if (active > 1)
        tasksLine()->SetText(QStringLiteral("%1 Active tasks").arg(active));
    else
        tasksLine()->SetText(QStringLiteral("Pick tasks and shopping items"));

    m_worthPending = m_countAfterPaint && !worthAtHand();
    if (m_worthPending) {
        inventoryLine()->SetText(QString());
        inventoryLine()->hide();
    } else {
        // An inventory that cannot be read is no empty one, and no figure from before is its
        // worth now: the line says so, and leads to the Home Inventory to read it again.
        const std::optional<double> total = inventoryTotal();
        inventoryLine()->SetText(
            !total              ? QStringLiteral("The Home Inventory could not be read")
                : *total == 0.0 ? QStringLiteral("Add an asset to the Home Inventory")
                                : QStringLiteral("Home Inventory is worth ") + moneyText(*total));
        inventoryLine()->show();
    }
    updateWarrantyLine();
    updateMaintenanceLine();

    equityLine()->SetText(m_fEquity == 0.0f
                              ? QStringLiteral("Manage Mortgages and Home Equity")
                              : QStringLiteral("Home Equity is %1").arg(moneyText(m_fEquity)));

    for (CLabel *line :
         { m_lines[0], m_lines[1], m_lines[2], m_warrantyLine, m_maintenanceLine, m_lines[3] }) {
        line->SizeToText();
        // The measured text can come out a pixel short of what the style draws it in.
        line->resize(line->size().expandedTo(line->minimumSizeHint()));
    }
    placeLines();
}

void CTodayView::updateWarrantyLine()
{
    const qint32 homeId = host().currentHomeId();
    m_linesDate = host().today();
    const QString text = homeId < 1
        ? QString()
        : Warranties::todayLine(Warranties::count(host().database(), homeId, m_linesDate));
    m_warrantyLine->SetText(text);
    m_warrantyLine->setVisible(!text.isEmpty());

    // Armed from the view's clock; a wake-up that comes early (or a clock set back) finds the
    // same day and only waits again.
    const QDateTime now = host().now();
    const QDateTime midnight(now.date().addDays(1), QTime(0, 0));
    m_midnight->start(int(std::clamp<qint64>(now.msecsTo(midnight), 0, 24 * 3600 * 1000)));
}

void CTodayView::followTheDate()
{
    const bool newDay = host().today() != m_linesDate;
    updateWarrantyLine();
    if (!newDay)
        return;
    m_warrantyLine->SizeToText();
    m_warrantyLine->resize(m_warrantyLine->size().expandedTo(m_warrantyLine->minimumSizeHint()));
    placeLines();
}

void CTodayView::showEvent(QShowEvent *event)
{
    CFormView::showEvent(event);
    // A machine woken from sleep may have missed the timer.
    if (m_linesDate.isValid() && host().today() != m_linesDate)
        followTheDate();
}

void CTodayView::updateMaintenanceLine()
{
    const qint32 homeId = host().currentHomeId();
    const QString text = homeId < 1
        ? QString()
        : Maintenance::todayLine(Maintenance::dueCounts(host().database(), homeId, host().today()));
    m_maintenanceLine->SetText(text);
    m_maintenanceLine->setVisible(!text.isEmpty());
}

void CTodayView::ComputeEquity()
{
    m_countedTotal.reset();
    const CHome &home = host().currentHome();
    m_fEquity = home.Exists() ? HomeFigures::equity(host().database(), home) : 0.0f;
}

bool CTodayView::loadStoredPicture()
{
    const CHome &home = host().currentHome();
    if (!home.Exists())
        return false;
    // One of the home's papers chosen as its picture: read from the data file, that one only.
    CADODataBase &db = host().database();
    const auto stored = Attachments::pictureOf(db, home.id(), Attachments::kHomeItself);
    if (!stored)
        return false;
    const std::unique_ptr<Attachments::Reader> bytes = Attachments::Reader::open(db, stored->id);
    return bytes && m_picture.Load(*bytes);
}

void CTodayView::LoadPicture()
{
    const QString own = host().currentHome().m_strPicture;
    if (!loadStoredPicture() && (own.isEmpty() || !m_picture.Load(own))
        && !m_picture.Load(m_defaultPicture)) {
        // Neither loads: show nothing rather than the picture of the home shown before. (A
        // failed load keeps nothing, so m_picture is empty now.)
        m_pictureRect = QRect();
        update();
        return;
    }
    placePicture();
}

QRect CTodayView::PictureRect(QSize picture, QSize client)
{
    const int w = picture.width();
    const int h = picture.height();
    int left = (client.width() - w) / 2;
    int right = left + w;
    if (w > client.width()) {
        left = 5;
        right = client.width() - 5;
    }
    const int top = 5;
    int bottom = h + 5;
    if (h > client.height() - 115)
        bottom = client.height() - 110;
    return QRect(left, top, right - left, bottom - top);
}

void CTodayView::placePicture()
{
    const QSize size = m_picture.Size();
    if (size.width() == 0)
        return;
    m_pictureRect = PictureRect(size, this->size());
    update();
}

void CTodayView::Layout()
{
    placeLines();
    // The file was read when the home was shown; a new size only places it again.
    placePicture();
}

std::vector<CLabel *> CTodayView::shownLines() const
{
    std::vector<CLabel *> lines = { m_lines[0], m_lines[1], m_lines[2] };
    for (CLabel *optional : { m_warrantyLine, m_maintenanceLine }) {
        if (!optional->isHidden())
            lines.push_back(optional);
    }
    lines.push_back(m_lines[3]);
    return lines;
}

void CTodayView::placeLines()
{
    const std::vector<CLabel *> lines = shownLines();
    const int spacing = kLineSpacing[lines.size() - 4];
    for (size_t i = 0; i < lines.size(); ++i)
        lines[i]->move(kLineLeft, height() - kBandTop + int(i) * spacing);
}

void CTodayView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (m_picture.IsLoaded() && m_pictureRect.isValid())
        m_picture.Draw(painter, m_pictureRect.left(), m_pictureRect.top(),
                       m_pictureRect.left() + m_pictureRect.width(),
                       m_pictureRect.top() + m_pictureRect.height());
    if (m_countAfterPaint) {
        // The window is on the screen: the worth that waited for it is counted next.
        m_countAfterPaint = false;
        if (m_worthPending)
            QTimer::singleShot(0, this, [this] {
                const Busy::Scope busy;
                UpdateLines();
            });
    }
}

bool CTodayView::eventFilter(QObject *watched, QEvent *event)
{
    auto *line = qobject_cast<CLabel *>(watched);
    if (line
        && (line == m_warrantyLine || line == m_maintenanceLine
            || std::find(std::begin(m_lines), std::end(m_lines), line) != std::end(m_lines))) {
        switch (event->type()) {
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
                emit line->clicked();
                return true;
            }
            break;
        }
        case QEvent::FocusIn:
            line->SetFontUnderline(true);
            break;
        case QEvent::FocusOut:
            line->SetFontUnderline(false);
            break;
        default:
            break;
        }
    }
    return CFormView::eventFilter(watched, event);
}

void CTodayView::OnTasksLine()
{
    if (activeTasks() < 1)
        host().NewTasks();
    else
        host().ShowView(ViewHost::TasksIndex);
}

void CTodayView::OnInventoryLine()
{
    if (inventoryTotal() == 0.0)
        host().NewAsset();
    else
        host().ShowView(ViewHost::InventoryIndex);
}

bool CTodayView::EditHome(int page)
{
    CHome home = host().currentHome();
    if (!home.Exists())
        return false;
    const bool confirmed =
        CHomeSheet::Edit(home, host().database(), host().ownerWindow(), page == 1);
    if (confirmed)
        host().HomeEdited(home);
    // The Loans and Attachments pages save at once, so their loans and the picture chosen among
    // the papers stay even when the profile is cancelled: the equity and the picture follow them
    // whatever the sheet's result.
    ComputeEquity();
    UpdateLines();
    LoadPicture();
    return confirmed;
}
