#include "sheets/home_loans_page.h"

#include "controls/auto_list_ctrl.h"
#include "db/lookups.h"
#include "format/display_text.h"
#include "format/string_table.h"
#include "records/loan.h"
#include "sheets/loan_sheet.h"
#include "widgets/ui.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTotalCaption = QStringLiteral("Total Outstanding Liability:");

} // namespace

CDlgHome_Loan::CDlgHome_Loan(CADODataBase &db, qint32 homeId, QWidget *parent)
    : CPropertyPage(QStringLiteral("Loans"), parent)
    , m_db(db)
    , m_homeId(homeId)
{
    auto *intro =
        new QLabel(QStringLiteral("You may associate one or more loans with this home."), this);
    intro->setWordWrap(true);

    m_list = new CAutoListCtrl(this, CAutoListCtrl::SingleSelection);
    m_list->setObjectName(QStringLiteral("loans"));
    m_list->setAccessibleName(QStringLiteral("Loans"));
    m_list->InsertColumn(0, QStringLiteral("Loan"), CListModel::FormatLeft, 140);
    m_list->InsertColumn(1, QStringLiteral("Amount"), CListModel::FormatRight, 60);
    m_list->SetExtendedStyle(CAutoListCtrl::FullRowSelect);
    intro->setBuddy(m_list);

    auto *newButton = new QPushButton(QStringLiteral("&New"), this);
    newButton->setObjectName(QStringLiteral("newLoan"));
    m_edit = new QPushButton(QStringLiteral("&Edit"), this);
    m_edit->setObjectName(QStringLiteral("editLoan"));
    m_remove = new QPushButton(QStringLiteral("&Remove"), this);
    m_remove->setObjectName(QStringLiteral("removeLoan"));
    for (QPushButton *button : { newButton, m_edit, m_remove })
        button->setAutoDefault(false);
    connect(newButton, &QPushButton::clicked, this, &CDlgHome_Loan::OnNew);
    connect(m_edit, &QPushButton::clicked, this, &CDlgHome_Loan::OnEdit);
    connect(m_remove, &QPushButton::clicked, this, &CDlgHome_Loan::OnRemove);
    connect(m_list, &CAutoListCtrl::rowDoubleClicked, this, [this](int) { OnEdit(); });

    auto *totalLabel = new QLabel(kTotalCaption, this);
    m_total = new QLabel(this);
    m_total->setObjectName(QStringLiteral("totalLiability"));
    m_total->setAccessibleName(kTotalCaption);
    m_total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_total->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(newButton);
    buttons->addWidget(m_edit);
    buttons->addWidget(m_remove);
    buttons->addStretch(1);
    auto *listRow = new QHBoxLayout;
    listRow->addWidget(m_list, 1);
    listRow->addLayout(buttons);
    auto *totalRow = new QHBoxLayout;
    totalRow->addWidget(totalLabel);
    totalRow->addWidget(m_total, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(listRow, 1);
    layout->addLayout(totalRow);
}

void CDlgHome_Loan::toControls()
{
    Fill();
}

void CDlgHome_Loan::Fill()
{
    if (m_homeId <= 0)
        return;
    LoanList loans;
    {
        Ui::WaitCursor wait;
        loans = loansOfHome(m_db, m_homeId);
    }
    m_list->SetRedraw(false);
    m_list->DeleteAllItems();
    for (const LoanListRow &loan : loans.rows) {
        const int row = m_list->InsertItem(-1, loan.text);
        m_list->SetItemText(row, 1, moneyText(loan.principal));
        m_list->SetItemData(row, loan.id);
    }
    m_list->SetRedraw(true);
    const bool any = m_list->GetItemCount() > 0;
    m_edit->setEnabled(any);
    m_remove->setEnabled(any);
    m_total->setText(moneyText(loans.totalLiability));
    // A name replaces a label's text for a screen reader: it carries the figure too.
    m_total->setAccessibleName(kTotalCaption + QLatin1Char(' ') + m_total->text());
    if (any)
        m_list->SetCurSel(0);
}

void CDlgHome_Loan::OnNew()
{
    if (m_homeId <= 0)
        return;
    CLoan loan;
    loan.m_nAssetId = m_homeId;
    if (CLoanSheet::Edit(loan, m_db, this, m_clock))
        Fill();
}

void CDlgHome_Loan::OnEdit()
{
    qint32 id = 0;
    int row = -1;
    if (!Lookups::selectedRow(*m_list->model(), id, row))
        return;
    CLoan loan(id);
    loan.Load(m_db);
    if (CLoanSheet::Edit(loan, m_db, this, m_clock))
        Fill();
    m_list->SetCurSel(row);
}

void CDlgHome_Loan::OnRemove()
{
    qint32 id = 0;
    int row = -1;
    if (!Lookups::selectedRow(*m_list->model(), id, row))
        return;
    CLoan loan(id);
    loan.Load(m_db);
    if (Ui::messageBox(this, Strings::load(Strings::LoanDeleteQuestion),
                       Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Yes | Ui::No)
        != Ui::Yes)
        return;
    {
        Ui::WaitCursor wait;
        loan.Delete(m_db);
    }
    Fill();
}
