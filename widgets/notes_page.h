#pragma once
// CDlgNotes: the notes page several record sheets share.

#include "widgets/property_page.h"

class QPlainTextEdit;

class CDlgNotes : public CPropertyPage
{
    Q_OBJECT
public:
    explicit CDlgNotes(QWidget *parent = nullptr);

    void toControls() override;
    bool fromControls() override;

    QString m_strNotes;

private:
    QPlainTextEdit *m_edit = nullptr;
};
