#pragma once
// CUpDownEntry: a number edit with an up-down control beside it. The text stays free (its owner
// refuses on OK what does not read as a number); the arrows, the Up and Down keys and the
// mouse wheel step the whole part of the value by one within a range, without wrapping.

#include <QAbstractSpinBox>
#include <QRegularExpression>

class QLineEdit;

class CUpDownEntry : public QAbstractSpinBox
{
public:
    // The edit is named name (so it reads and fills like any other number edit), the box
    // name + "UpDown".
    CUpDownEntry(const QString &name, double minimum, double maximum, QWidget *parent = nullptr);

    QLineEdit *edit() const { return lineEdit(); }

    // What a step starts from while the text does not read as a number (the minimum unless set).
    void setFallback(double value) { m_fallback = value; }
    // Keystrokes that would leave a text the whole pattern does not match are refused (no
    // pattern: any text).
    void setAllowedText(const QString &pattern)
    {
        m_allowed = QRegularExpression(QRegularExpression::anchoredPattern(pattern));
    }

    void stepBy(int steps) override;
    QValidator::State validate(QString &input, int &pos) const override;

protected:
    StepEnabled stepEnabled() const override;

private:
    double current() const;

    double m_minimum;
    double m_maximum;
    double m_fallback;
    QRegularExpression m_allowed;
};
