#pragma once
// Labels::CustomSheetDialog: "Custom Label Sheet", the layout of a sheet the program has no
// preset for: the page, the rows and columns, the labels' size, the margins to the first label
// and the pitch from one label to the next, in millimetres or inches. OK checks that the labels
// fit the page and says what is wrong when they do not.

#include "report/label_sheet.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

namespace Labels {

class CustomSheetDialog : public QDialog
{
    Q_OBJECT
public:
    CustomSheetDialog(const Geometry &geometry, bool inches, QWidget *owner = nullptr);

    // The layout the fields hold, in millimetres.
    Geometry geometry() const;
    bool inches() const;

public slots:
    void accept() override;

private:
    void unitsChanged();
    QDoubleSpinBox *length(const QString &name);

    QComboBox *m_units = nullptr;
    QDoubleSpinBox *m_pageWidth = nullptr;
    QDoubleSpinBox *m_pageHeight = nullptr;
    QSpinBox *m_rows = nullptr;
    QSpinBox *m_columns = nullptr;
    QDoubleSpinBox *m_labelWidth = nullptr;
    QDoubleSpinBox *m_labelHeight = nullptr;
    QDoubleSpinBox *m_top = nullptr;
    QDoubleSpinBox *m_left = nullptr;
    QDoubleSpinBox *m_pitchX = nullptr;
    QDoubleSpinBox *m_pitchY = nullptr;
    // Millimetres per unit shown.
    double m_scale = 1.0;
};

} // namespace Labels
