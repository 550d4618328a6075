#include "widgets/up_down_entry.h"

#include "widgets/number_entry.h"

#include <QLineEdit>

#include <algorithm>
#include <cmath>

CUpDownEntry::CUpDownEntry(const QString &name, double minimum, double maximum, QWidget *parent)
    : QAbstractSpinBox(parent)
    , m_minimum(minimum)
    , m_maximum(maximum)
    , m_fallback(minimum)
{
    setObjectName(name + QStringLiteral("UpDown"));
    lineEdit()->setObjectName(name);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
}

double CUpDownEntry::current() const
{
    const std::optional<float> value = NumberEntry::read(text());
    return value ? double(*value) : m_fallback;
}

void CUpDownEntry::stepBy(int steps)
{
    const double stepped = std::clamp(std::trunc(current()) + steps, m_minimum, m_maximum);
    lineEdit()->setText(NumberEntry::text(float(stepped)));
}

QValidator::State CUpDownEntry::validate(QString &input, int &) const
{
    if (m_allowed.pattern().isEmpty() || m_allowed.match(input).hasMatch())
        return QValidator::Acceptable;
    return QValidator::Invalid;
}

QAbstractSpinBox::StepEnabled CUpDownEntry::stepEnabled() const
{
    const double value = current();
    StepEnabled enabled = StepNone;
    if (value < m_maximum)
        enabled |= StepUpEnabled;
    if (value > m_minimum)
        enabled |= StepDownEnabled;
    return enabled;
}
