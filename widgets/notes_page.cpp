#include "widgets/notes_page.h"

#include "widgets/shared_look.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

CDlgNotes::CDlgNotes(QWidget *parent)
    : CPropertyPage(QStringLiteral("Notes"), parent)
{
    auto *label = new QLabel(QStringLiteral("Additional Details and &Notes:"), this);
    label->setFont(SharedLook::boldFont());
    m_edit = new QPlainTextEdit(this);
    m_edit->setObjectName(QStringLiteral("notes"));
    m_edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_edit->setTabChangesFocus(true);
    label->setBuddy(m_edit);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_edit, 1);
}

void CDlgNotes::toControls()
{
    m_edit->setPlainText(m_strNotes);
}

bool CDlgNotes::fromControls()
{
    m_strNotes = m_edit->toPlainText();
    return true;
}
