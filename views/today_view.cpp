#include "views/today_view.h"

#include "controls/label.h"
#include "format/display_text.h"
#include "platform/busy.h"
#include "platform/settings_key.h"
#include "records/attachment_store.h"
#include "records/attachments.h"
#include "records/home.h"
#include "records/home_figures.h"
#include "records/task.h"
#include "records/warranties.h"
#include "sheets/home_sheet.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

namespace {

// The lines' distances from the bottom of the view, top to bottom. With the warranty line the
// five share the band the four have, 20 pixels apart, clear of the picture as before.
constexpr int kLineOffsets[] = { 100, 75, 50, 25 };
constexpr int kFiveLineOffsets[] = { 100, 80, 60, 40, 20 };
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
    // The four lines, then the warranty line that joins them only when it has something to say.
    const char *const names[] = { "homeLine", "tasksLine", "inventoryLine", "equityLine",
                                  "warrantyLine" };
    const QString initial[] = { QStringLiteral("Home Description Goes here"),
                                QStringLiteral("<value>"), QStringLiteral("<value>"),
                                QStringLiteral("<value>"), QString() };
    for (int i = 0; i < 5; ++i) {
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
        else
            m_warrantyLine = line;
    }
    m_warrantyLine->hide();
    // Read (and tabbed through) in the order shown: under the inventory line.
    m_warrantyLine->stackUnder(equityLine());
    setTabOrder(inventoryLine(), m_warrantyLine);
    setTabOrder(m_warrantyLine, equityLine());
    connect(m_warrantyLine, &CLabel::clicked, this, [this] { this->host().ShowWarranties(); });
    connect(homeLine(), &CLabel::clicked, this, [this] { EditHome(0); });
    connect(tasksLine(), &CLabel::clicked, this, &CTodayView::OnTasksLine);
    connect(inventoryLine(), &CLabel::clicked, this, &CTodayView::OnInventoryLine);
    connect(equityLine(), &CLabel::clicked, this, [this] { EditHome(1); });
    setFocusProxy(homeLine());
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
    const qint32 category = readSetting(host().settings(), QStringLiteral("InventoryCategory"));
    if (m_countedTotal && m_countedHome == homeId && m_countedCategory == category)
        return true;
    m_countedTotal = rememberedWorth(homeId, category);
    m_countedHome = homeId;
    m_countedCategory = category;
    return m_countedTotal.has_value();
}

double CTodayView::inventoryTotal()
{
    const qint32 homeId = host().currentHomeId();
    if (homeId < 1)
        return 0.0;
    if (const std::optional<double> listed = host().filledInventoryTotal())
        return *listed;
    // Not filled yet: one aggregate statement, kept for as long as the home and the category
    // stay the same. Assets change only through the Home Inventory view, which is filled then.
    if (!worthAtHand())
        m_countedTotal = HomeFigures::inventoryTotal(host().database(), homeId, m_countedCategory);
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
        const double total = inventoryTotal();
        inventoryLine()->SetText(total == 0.0 ? QStringLiteral("Add an asset to the Home Inventory")
                                              : QStringLiteral("Home Inventory is worth ")
                                         + moneyText(total));
        inventoryLine()->show();
    }
    updateWarrantyLine();

    equityLine()->SetText(m_fEquity == 0.0f
                              ? QStringLiteral("Manage Mortgages and Home Equity")
                              : QStringLiteral("Home Equity is %1").arg(moneyText(m_fEquity)));

    for (CLabel *line : { m_lines[0], m_lines[1], m_lines[2], m_warrantyLine, m_lines[3] }) {
        line->SizeToText();
        // The measured text can come out a pixel short of what the style draws it in.
        line->resize(line->size().expandedTo(line->minimumSizeHint()));
    }
    placeLines();
}

void CTodayView::updateWarrantyLine()
{
    const qint32 homeId = host().currentHomeId();
    const QString text = homeId < 1
        ? QString()
        : Warranties::todayLine(Warranties::count(host().database(), homeId, host().today()));
    m_warrantyLine->SetText(text);
    m_warrantyLine->setVisible(!text.isEmpty());
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

void CTodayView::placeLines()
{
    if (m_warrantyLine->isHidden()) {
        for (int i = 0; i < 4; ++i)
            m_lines[i]->move(kLineLeft, height() - kLineOffsets[i]);
        return;
    }
    CLabel *const order[] = { m_lines[0], m_lines[1], m_lines[2], m_warrantyLine, m_lines[3] };
    for (int i = 0; i < 5; ++i)
        order[i]->move(kLineLeft, height() - kFiveLineOffsets[i]);
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
        && (line == m_warrantyLine
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
