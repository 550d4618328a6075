#include "widgets/property_sheet.h"

#include "widgets/property_page.h"
#include "widgets/ui.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

CPropertySheet::CPropertySheet(const QString &title, QWidget *owner)
    : QDialog(owner)
{
    setWindowTitle(title);
    setObjectName(QStringLiteral("propertySheet"));
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("pages"));
    // Every page's tab stays in sight: the sheet is made as wide as its tabs need.
    m_tabs->setUsesScrollButtons(false);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    m_buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CPropertySheet::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CPropertySheet::reject);
    connect(m_tabs, &QTabWidget::currentChanged, this, &CPropertySheet::onTabChanged);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_buttons);
}

void CPropertySheet::AddPage(CPropertyPage *page)
{
    m_pages.push_back(page);
    const QSignalBlocker blocker(m_tabs);
    m_tabs->addTab(page, page->title());
}

CPropertyPage *CPropertySheet::GetPage(int index) const
{
    return index >= 0 && index < GetPageCount() ? m_pages[size_t(index)] : nullptr;
}

int CPropertySheet::GetActiveIndex() const
{
    return m_shown ? m_current : m_startPage;
}

bool CPropertySheet::SetActivePage(int index)
{
    if (!GetPage(index))
        return false;
    if (!m_shown) {
        m_startPage = index;
        return true;
    }
    m_tabs->setCurrentIndex(index);
    return m_current == index;
}

int CPropertySheet::DoModal()
{
    return Ui::runModal(*this);
}

void CPropertySheet::showEvent(QShowEvent *event)
{
    if (!m_shown) {
        m_shown = true;
        for (CPropertyPage *page : m_pages)
            page->toControls();
        const QSignalBlocker blocker(m_tabs);
        m_tabs->setCurrentIndex(m_startPage);
        m_current = m_startPage;
        if (CPropertyPage *page = GetPage(m_current))
            page->onActivated();
    }
    QDialog::showEvent(event);
}

void CPropertySheet::onTabChanged(int index)
{
    if (index == m_current)
        return;
    // The tab widget has already switched; a page that refuses to be left takes it back.
    CPropertyPage *leaving = GetPage(m_current);
    if (leaving && !leaving->fromControls()) {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->setCurrentIndex(m_current);
        return;
    }
    m_current = index;
    if (CPropertyPage *page = GetPage(index))
        page->onActivated();
}

void CPropertySheet::accept()
{
    // The visible page first, so its own refusal is the one the user sees, then the others in
    // order (a page never visited still holds what it was given and reads back unchanged).
    if (CPropertyPage *active = GetPage(m_current); active && !active->fromControls())
        return;
    for (int i = 0; i < GetPageCount(); ++i) {
        if (i == m_current)
            continue;
        if (!m_pages[size_t(i)]->fromControls()) {
            const QSignalBlocker blocker(m_tabs);
            m_tabs->setCurrentIndex(i);
            m_current = i;
            return;
        }
    }
    if (m_commit && !m_commit())
        return;
    QDialog::accept();
}
