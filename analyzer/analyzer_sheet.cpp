#include "analyzer/analyzer_sheet.h"

#include "analyzer/amortize_page.h"
#include "analyzer/compare_page.h"
#include "analyzer/details_page.h"
#include "analyzer/what_if_page.h"
#include "platform/busy.h"
#include "widgets/ui.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The handheld's Done bitmap: a green tick.
QIcon doneIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(0, 140, 0), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    QPainterPath tick;
    tick.moveTo(6, 17);
    tick.lineTo(13, 25);
    tick.lineTo(26, 7);
    painter.drawPath(tick);
    painter.end();
    return QIcon(pixmap);
}

void setWaitCursor(bool on)
{
    Ui::services().setWaitCursor(on);
}

} // namespace

CCustomPropertySheet::CCustomPropertySheet(const LoanTerms &loan, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("loanAnalyzer"));
    setWindowTitle(tr("Loan Analyzer"));
    Busy::setHook(&setWaitCursor);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("pages"));
    m_tabs->setUsesScrollButtons(false);
    layout->addWidget(m_tabs, 1);

    // The command bar with its single Done button (command 32795 on the handheld).
    auto *bar = new QHBoxLayout;
    m_done = new QToolButton(this);
    m_done->setObjectName(QStringLiteral("done"));
    m_done->setText(tr("&Done"));
    m_done->setIcon(doneIcon());
    m_done->setIconSize(QSize(16, 16));
    m_done->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_done->setAutoRaise(true);
    m_done->setFocusPolicy(Qt::StrongFocus);
    m_done->setToolTip(tr("Close the Loan Analyzer"));
    m_done->setProperty("command", 32795);
    bar->addWidget(m_done);
    bar->addStretch();
    layout->addLayout(bar);

    // Constructed in the handheld's order; added in the order the user sees.
    m_details = new CDlgDetails(this, loan);
    m_whatIf = new CDlgWhatIf(this);
    m_amortize = new CDlgAmortize(this);
    m_compare = new CDlgCompare(this, loan);
    for (CAnalyzerPage *page :
         { static_cast<CAnalyzerPage *>(m_details), static_cast<CAnalyzerPage *>(m_compare),
           static_cast<CAnalyzerPage *>(m_whatIf), static_cast<CAnalyzerPage *>(m_amortize) })
        m_tabs->addTab(page, page->caption());
    m_tabs->setCurrentIndex(0);

    connect(m_done, &QToolButton::clicked, m_details, &CDlgDetails::done);

    // Page turning from anywhere in the sheet: the tab widget's own Ctrl+Tab is swallowed by a
    // focused drop-down, which reads the tab as type-ahead.
    auto turn = [this](int step) {
        m_tabs->setCurrentIndex((m_tabs->currentIndex() + step + m_tabs->count())
                                % m_tabs->count());
    };
    for (const QKeySequence &next :
         { QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown) }) {
        auto *shortcut = new QShortcut(next, this);
        connect(shortcut, &QShortcut::activated, this, [turn] { turn(1); });
    }
    for (const QKeySequence &previous : { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                                          QKeySequence(Qt::CTRL | Qt::Key_PageUp) }) {
        auto *shortcut = new QShortcut(previous, this);
        connect(shortcut, &QShortcut::activated, this, [turn] { turn(-1); });
    }
    connect(m_tabs, &QTabWidget::currentChanged, this, &CCustomPropertySheet::pageShown);
    resize(sizeHint().expandedTo(QSize(320, 440)));
}

CCustomPropertySheet::~CCustomPropertySheet()
{
    Busy::setHook(nullptr);
}

int CCustomPropertySheet::pageCount() const
{
    return m_tabs->count();
}

CAnalyzerPage *CCustomPropertySheet::page(int index) const
{
    return qobject_cast<CAnalyzerPage *>(m_tabs->widget(index));
}

CAnalyzerPage *CCustomPropertySheet::currentPage() const
{
    return qobject_cast<CAnalyzerPage *>(m_tabs->currentWidget());
}

QString CCustomPropertySheet::pageCaption(int index) const
{
    return m_tabs->tabText(index);
}

void CCustomPropertySheet::setCurrentPage(CAnalyzerPage *page)
{
    m_tabs->setCurrentWidget(page);
}

CDlgDetails *CCustomPropertySheet::details() const
{
    m_details->ensureInitialised();
    return m_details;
}

void CCustomPropertySheet::pageShown(int index)
{
    CAnalyzerPage *shown = page(index);
    if (!shown)
        return;
    shown->ensureInitialised();
    // Enter recomputes the page in front.
    if (QPushButton *refresh = shown->refreshButton())
        refresh->setDefault(true);
}

void CCustomPropertySheet::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    pageShown(m_tabs->currentIndex());
}

void CCustomPropertySheet::requestClose()
{
    m_close = true;
    done(QDialog::Accepted);
}

void CCustomPropertySheet::done(int result)
{
    // The modal loop keeps running until a page has set the close flag.
    if (!m_close)
        return;
    QDialog::done(result);
}

void CCustomPropertySheet::reject()
{
    // Escape, or the window manager's close button: the desktop's way of saying Done.
    requestClose();
}

void CCustomPropertySheet::lowerInputPanel()
{
    ++m_inputPanelRequests;
    if (m_inputPanelHook)
        m_inputPanelHook();
}
