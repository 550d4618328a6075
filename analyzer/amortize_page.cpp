#include "analyzer/amortize_page.h"

#include "analyzer/analyzer_sheet.h"
#include "analyzer/details_page.h"
#include "analyzer/loan_calc.h"
#include "controls/auto_list_ctrl.h"
#include "widgets/ui.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {
const int kAmountWidth = 60;
const QString kDateHeading = QStringLiteral("Date");
} // namespace

CDlgAmortize::CDlgAmortize(CCustomPropertySheet *sheet)
    : CAnalyzerPage(sheet, tr("Amortize"))
{
    setObjectName(QStringLiteral("amortize"));
    QVBoxLayout *layout = buildFrame(QString());
    m_list = new CAutoListCtrl(this, CAutoListCtrl::SingleSelection);
    m_list->setObjectName(QStringLiteral("schedule"));
    m_list->setAccessibleName(tr("Amortization schedule"));
    layout->addWidget(m_list, 1);

    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    layout->addWidget(rule);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(makeRefreshButton());
    m_showDates = new QCheckBox(tr("Show &Payment Dates"), this);
    m_showDates->setObjectName(QStringLiteral("showDates"));
    connect(m_showDates, &QCheckBox::clicked, this, [this] { fill(); });
    buttons->addWidget(m_showDates);
    buttons->addStretch();
    layout->addLayout(buttons);
}

void CDlgAmortize::initialise()
{
    QFont small = m_list->font();
    small.setPixelSize(11);
    m_list->setFont(small);
    m_list->SetExtendedStyle(CAutoListCtrl::FullRowSelect);
    m_list->SetSingleSelection(true);
    m_list->SetAlternateRowColors(true);
    // The schedule has one natural order; its headings are labels, not sort buttons.
    m_list->header()->setSectionsClickable(false);
    m_list->InsertColumn(-1, tr("No."), CListModel::FormatCenter, 30);
    m_list->InsertColumn(-1, tr("Principal"), CListModel::FormatLeft, kAmountWidth);
    m_list->InsertColumn(-1, tr("Interest"), CListModel::FormatLeft, kAmountWidth);
    m_list->InsertColumn(-1, tr("Balance"), CListModel::FormatLeft, kAmountWidth);
    fill();
}

int CDlgAmortize::headingWidth(int col) const
{
    return m_list->header()->sectionSizeHint(col);
}

int CDlgAmortize::contentsWidth(int col) const
{
    // The widest of the column's cells as the list draws them, the heading left out. A
    // schedule has up to thousands of rows and laying out each text costs more than the whole
    // fill, so the widest cell is found by adding up its characters' advances (digits,
    // separators and date marks do not kern), and only that one is measured through the
    // list's delegate, which adds its margins.
    const QFontMetrics metrics(m_list->font());
    std::array<int, 256> advance;
    advance.fill(-1);
    auto widthOf = [&](const QString &text) {
        int width = 0;
        for (const QChar c : text) {
            if (c.unicode() >= advance.size())
                width += metrics.horizontalAdvance(c);
            else if (int &known = advance[c.unicode()]; known >= 0)
                width += known;
            else
                width += known = metrics.horizontalAdvance(c);
        }
        return width;
    };
    int widestRow = -1;
    int widest = -1;
    for (int row = 0, count = m_list->GetItemCount(); row < count; ++row) {
        const int width = widthOf(m_list->GetItemText(row, col));
        if (width > widest) {
            widest = width;
            widestRow = row;
        }
    }
    if (widestRow < 0)
        return 0;
    return m_list->sizeHintForIndex(m_list->model()->index(widestRow, col)).width();
}

bool CDlgAmortize::hasDateColumn() const
{
    return m_list->GetColumnCount() > 1 && m_list->model()->GetColumnText(1) == kDateHeading;
}

void CDlgAmortize::fill()
{
    ensureInitialised();
    m_datesShown = m_showDates->isChecked();
    CDlgDetails *details = sheet()->details();
    if (!details->validateAndRead())
        return;
    sheet()->lowerInputPanel();
    const float principal = details->principal();
    const float rate = details->rate();
    const std::int32_t term = details->term();
    const COleDateTime start = details->startDate();
    const QLocale loc = locale();

    Ui::WaitCursor wait;
    // Disabling the focused button would push the keyboard focus elsewhere for good.
    const bool refreshHadFocus = refreshButton()->hasFocus();
    refreshButton()->setEnabled(false);
    m_list->SetRedraw(false);
    m_list->DeleteAllItems();
    if (m_datesShown && !hasDateColumn())
        m_list->InsertColumn(1, kDateHeading, CListModel::FormatLeft, 80);
    else if (!m_datesShown && hasDateColumn())
        m_list->DeleteColumn(1);
    const int firstAmount = m_datesShown ? 2 : 1;

    // Rows of NaN (a rate of 0), of an infinite payment (a term of 0) or of a balance that never
    // falls tell the user nothing; such a loan gets an empty schedule, as the Details page shows
    // it "N/A". A loan of nothing lists its n payments of 0.
    if (Loan::IsUsablePayment(principal, rate, term)) {
        const std::vector<Loan::ScheduleRow> rows = Loan::BuildSchedule(principal, rate, term);
        int number = 0;
        for (const Loan::ScheduleRow &row : rows) {
            ++number;
            const int item = m_list->InsertItem(-1, QString::number(number));
            if (m_datesShown)
                m_list->SetItemText(item, 1,
                                    FormatLoanDate(PaymentDate(start, number), false, loc));
            m_list->SetItemText(item, firstAmount, FormatNumber(row.principal, true, false, loc));
            m_list->SetItemText(item, firstAmount + 1,
                                FormatNumber(row.interest, true, false, loc));
            m_list->SetItemText(item, firstAmount + 2, FormatNumber(row.balance, true, false, loc));
            m_list->SetItemData(item, 1);
        }
    }
    m_list->SetRedraw(true);

    // The number column fits its heading; the next three fit their contents when they are
    // wider than an amount column, else their heading. Fitting the heading never cuts a cell
    // short: the handheld's list took the wider of heading and cells for it, and a column of
    // "Date" or "No." alone would show "1/…" and "3…".
    for (int col = 0; col <= 3 && col < m_list->GetColumnCount(); ++col) {
        const int cells = contentsWidth(col);
        const bool toContents = col > 0 && m_list->GetColumnWidth(col) > kAmountWidth;
        m_list->SetColumnWidth(col, toContents ? cells : std::max(headingWidth(col), cells));
    }
    refreshButton()->setEnabled(true);
    if (refreshHadFocus)
        refreshButton()->setFocus(Qt::OtherFocusReason);
}
