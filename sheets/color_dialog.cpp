#include "sheets/color_dialog.h"

#include "controls/label.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

CDlgSelectColor::CDlgSelectColor(qint32 color, const QString &description, QWidget *owner)
    : QDialog(owner)
    , m_description(description)
{
    setWindowTitle(QStringLiteral("Select Color"));
    setObjectName(QStringLiteral("selectColorDialog"));

    m_preview = new CLabel(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setAccessibleName(QStringLiteral("Color preview"));
    m_preview->setFixedSize(120, 120);
    m_preview->setFrameShape(QFrame::Box);

    const QString captions[3] = { QStringLiteral("&Red"), QStringLiteral("&Green"),
                                  QStringLiteral("&Blue") };
    const QString names[3] = { QStringLiteral("red"), QStringLiteral("green"),
                               QStringLiteral("blue") };
    auto *grid = new QGridLayout;
    for (int i = 0; i < 3; ++i) {
        auto *label = new QLabel(captions[i], this);
        m_sliders[i] = new QSlider(Qt::Horizontal, this);
        m_sliders[i]->setObjectName(names[i]);
        m_sliders[i]->setRange(0, 255);
        m_sliders[i]->setMinimumWidth(180);
        m_sliders[i]->setAccessibleName(captions[i].mid(1));
        label->setBuddy(m_sliders[i]);
        // The number is read-only; its arrows are the up-down, which wraps from 255 to 0.
        m_numbers[i] = new QSpinBox(this);
        m_numbers[i]->setObjectName(names[i] + QStringLiteral("Value"));
        m_numbers[i]->setRange(0, 255);
        m_numbers[i]->setWrapping(true);
        m_numbers[i]->setAccessibleName(captions[i].mid(1) + QStringLiteral(" value"));
        m_numbers[i]->findChild<QLineEdit *>()->setReadOnly(true);
        grid->addWidget(label, i, 0);
        grid->addWidget(m_sliders[i], i, 1);
        grid->addWidget(m_numbers[i], i, 2);
        connect(m_sliders[i], &QSlider::valueChanged, this,
                [this, i](int value) { setComponent(i, value); });
        connect(m_numbers[i], &QSpinBox::valueChanged, this,
                [this, i](int value) { setComponent(i, value); });
    }

    m_descriptionEdit = new QLineEdit(description, this);
    m_descriptionEdit->setObjectName(QStringLiteral("description"));
    auto *descriptionLabel = new QLabel(QStringLiteral("&Description:"), this);
    descriptionLabel->setBuddy(m_descriptionEdit);
    grid->addWidget(descriptionLabel, 3, 0);
    grid->addWidget(m_descriptionEdit, 3, 1, 1, 2);

    auto *buttons = new QDialogButtonBox(this);
    auto *ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    auto *cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgSelectColor::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *top = new QHBoxLayout;
    top->addWidget(m_preview, 0, Qt::AlignTop);
    top->addLayout(grid, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const quint32 value = quint32(color);
    m_components[0] = int(value & 0xff);
    m_components[1] = int((value >> 8) & 0xff);
    m_components[2] = int((value >> 16) & 0xff);
    refresh();
}

qint32 CDlgSelectColor::color() const
{
    return m_components[2] * 65536 + m_components[1] * 256 + m_components[0];
}

void CDlgSelectColor::setComponent(int index, int value)
{
    if (m_components[index] == value)
        return;
    m_components[index] = value;
    refresh();
}

void CDlgSelectColor::refresh()
{
    for (int i = 0; i < 3; ++i) {
        const QSignalBlocker sliderBlocker(m_sliders[i]);
        const QSignalBlocker numberBlocker(m_numbers[i]);
        m_sliders[i]->setValue(m_components[i]);
        m_numbers[i]->setValue(m_components[i]);
    }
    m_preview->SetBkColor(quint32(color()));
}

void CDlgSelectColor::accept()
{
    m_description = m_descriptionEdit->text();
    QDialog::accept();
}
