#pragma once
// CDlgHome_Tab1: the Details page of the Home Profile: description (required), value, address.

#include "widgets/property_page.h"

class QLineEdit;
class QPlainTextEdit;

class CDlgHome_Tab1 : public CPropertyPage
{
    Q_OBJECT
public:
    explicit CDlgHome_Tab1(QWidget *parent = nullptr);

    void toControls() override;
    bool fromControls() override;
    void onActivated() override;

    QString m_strDescription;
    float m_fCurrentValue = 0.0f;
    QString m_strAddress;

private:
    QLineEdit *m_description = nullptr;
    QLineEdit *m_value = nullptr;
    QPlainTextEdit *m_address = nullptr;
};
