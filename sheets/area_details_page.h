#pragma once
// CDlgArea_Tab1: the Details page of a location: its name (one of the usual room names or any
// text) and its length, width and height in feet and inches.

#include "widgets/property_page.h"

#include <optional>

class CComboModel;
class QComboBox;
class QLineEdit;

class CDlgArea_Tab1 : public CPropertyPage
{
    Q_OBJECT
public:
    explicit CDlgArea_Tab1(QWidget *parent = nullptr);

    void toControls() override;
    bool fromControls() override;
    void onActivated() override;

    QString m_strDescription;
    qint32 m_nLength = 0; // inches
    qint32 m_nWidth = 0;
    qint32 m_nHeight = 0;

private:
    struct Dimension
    {
        QString name; // "length", for messages
        QLineEdit *feet = nullptr;
        QLineEdit *inches = nullptr;
    };
    // feet x 12 + inches, or nothing (after saying why) for text that is not a whole number or a
    // total that does not fit the data file's 32-bit column.
    std::optional<qint32> read(const Dimension &dimension);
    std::optional<qint64> readWhole(QLineEdit &edit);
    static void show(const Dimension &dimension, qint32 inches);

    QComboBox *m_description = nullptr;
    CComboModel *m_names = nullptr;
    Dimension m_dimensions[3];
};
