#pragma once
// CDlgSelectColor: the "Select Color" dialog: a colour mixed from red, green and blue with
// sliders or wrapping up-downs, shown in a large preview, and a description of what it is for.
// Colours are 0x00BBGGRR values, red in the low byte, as the data file keeps them.

#include <QDialog>

class CLabel;
class QLineEdit;
class QSlider;
class QSpinBox;

class CDlgSelectColor : public QDialog
{
    Q_OBJECT
public:
    CDlgSelectColor(qint32 color, const QString &description, QWidget *owner = nullptr);

    // The colour and description the dialog holds now (read on OK).
    qint32 color() const;
    QString description() const { return m_description; }

    int component(int index) const { return m_components[index]; }

public slots:
    void accept() override;

private:
    void setComponent(int index, int value);
    void refresh();

    int m_components[3] = { 0, 0, 0 }; // red, green, blue
    QString m_description;
    CLabel *m_preview = nullptr;
    QSlider *m_sliders[3] = {};
    QSpinBox *m_numbers[3] = {};
    QLineEdit *m_descriptionEdit = nullptr;
};
