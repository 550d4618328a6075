#pragma once
// CDlgArea_Colors: the Colors page of a location: three remembered colours, each with what it is
// for, changed through "Select Color".

#include "widgets/property_page.h"

class CLabel;
class QLabel;

class CDlgArea_Colors : public CPropertyPage
{
    Q_OBJECT
public:
    explicit CDlgArea_Colors(QWidget *parent = nullptr);

    void toControls() override;
    bool fromControls() override { return true; }

    // Opens "Select Color" for colour index (0 to 2); OK takes its colour and description.
    void ChooseColor(int index);

    // Shows color on a swatch: its background, and a prompt while no colour is chosen (white).
    static void showSwatch(CLabel &swatch, qint32 color);

    qint32 m_nColor[3] = { 0xFFFFFF, 0xFFFFFF, 0xFFFFFF };
    QString m_strLabel[3];

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showLabels();

    QLabel *m_labels[3] = {};
    CLabel *m_swatches[3] = {};
};
