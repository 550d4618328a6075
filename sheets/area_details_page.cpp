#include "sheets/area_details_page.h"

#include "controls/combo_model.h"
#include "db/lookups.h"
#include "format/string_table.h"
#include "widgets/shared_look.h"
#include "widgets/text_combo.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include <limits>

CDlgArea_Tab1::CDlgArea_Tab1(QWidget *parent)
    : CPropertyPage(QStringLiteral("Details"), parent)
{
    m_names = new CComboModel(true, this);
    m_description = new QComboBox(this);
    m_description->setObjectName(QStringLiteral("description"));
    TextCombo::makeEditable(*m_description);
    m_description->setModel(m_names);
    m_description->setMinimumContentsLength(24);
    auto *hint = new QLabel(QStringLiteral("(e.g: Living Room)"), this);
    QPalette palette = hint->palette();
    palette.setColor(QPalette::WindowText, SharedLook::accentColor());
    hint->setPalette(palette);

    auto *layout = new QFormLayout(this);
    layout->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    layout->addRow(QStringLiteral("&Description:"), m_description);
    TextCombo::nameEdit(*m_description);
    layout->addRow(QString(), hint);

    const QString captions[3] = { QStringLiteral("&Length:"), QStringLiteral("&Width:"),
                                  QStringLiteral("&Height:") };
    const QString names[3] = { QStringLiteral("length"), QStringLiteral("width"),
                               QStringLiteral("height") };
    for (int i = 0; i < 3; ++i) {
        Dimension &d = m_dimensions[i];
        d.name = names[i];
        d.feet = new QLineEdit(this);
        d.feet->setObjectName(names[i] + QStringLiteral("Feet"));
        d.inches = new QLineEdit(this);
        d.inches->setObjectName(names[i] + QStringLiteral("Inches"));
        const QString spoken = captions[i].mid(1).chopped(1);
        d.inches->setAccessibleName(spoken + QStringLiteral(" inches"));
        for (QLineEdit *edit : { d.feet, d.inches }) {
            // A whole number; the handheld stores negative ones, which keep their sign here.
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("-?\\d{0,10}")), edit));
            edit->setMaximumWidth(80);
            edit->setAlignment(Qt::AlignRight);
        }
        auto *row = new QHBoxLayout;
        row->addWidget(d.feet);
        row->addWidget(new QLabel(QStringLiteral("ft."), this));
        row->addSpacing(8);
        row->addWidget(d.inches);
        row->addWidget(new QLabel(QStringLiteral("in."), this));
        row->addStretch(1);
        auto *label = new QLabel(captions[i], this);
        label->setBuddy(d.feet);
        layout->addRow(label, row);
    }
}

void CDlgArea_Tab1::toControls()
{
    m_names->ResetContent();
    Lookups::fillComboFromTextList(*m_names, m_strDescription, Strings::LocationSuggestions);
    m_description->setCurrentIndex(m_names->GetCurSel());
    m_description->setEditText(m_strDescription.isEmpty() ? QStringLiteral("New Location")
                                                          : m_strDescription);
    show(m_dimensions[0], m_nLength);
    show(m_dimensions[1], m_nWidth);
    show(m_dimensions[2], m_nHeight);
}

void CDlgArea_Tab1::show(const Dimension &dimension, qint32 inches)
{
    // Truncating division gives a negative length its sign in both parts (-17 is -1 ft. -5 in.,
    // -5 is 0 ft. -5 in.), so feet x 12 + inches reads back the stored value unchanged.
    dimension.feet->setText(QString::number(inches / 12));
    dimension.inches->setText(QString::number(inches % 12));
}

std::optional<qint64> CDlgArea_Tab1::readWhole(QLineEdit &edit)
{
    const QString text = edit.text().trimmed();
    // A whole number: digits after an optional minus, no blanks inside, nothing a 64-bit number
    // cannot hold.
    const QString digits = text.startsWith(QLatin1Char('-')) ? text.mid(1) : text;
    bool ok = !digits.isEmpty() && digits.size() <= 12;
    for (QChar c : digits)
        ok = ok && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    const qint64 value = ok ? text.toLongLong(&ok) : 0;
    if (!ok) {
        refuse(edit, QStringLiteral("Please enter an integer."));
        return std::nullopt;
    }
    return value;
}

std::optional<qint32> CDlgArea_Tab1::read(const Dimension &dimension)
{
    const std::optional<qint64> feet = readWhole(*dimension.feet);
    if (!feet)
        return std::nullopt;
    const std::optional<qint64> inches = readWhole(*dimension.inches);
    if (!inches)
        return std::nullopt;
    constexpr qint64 kMost = std::numeric_limits<qint32>::max();
    constexpr qint64 kLeast = std::numeric_limits<qint32>::min();
    const qint64 total = *feet * 12 + *inches;
    if (total > kMost || total < kLeast) {
        const qint64 bound = total > kMost ? kMost : kLeast;
        refuse(*dimension.feet,
               QStringLiteral("The %1 is too %2. Please enter at %3 %4 ft. %5 in.")
                   .arg(dimension.name,
                        total > kMost ? QStringLiteral("large") : QStringLiteral("small"),
                        total > kMost ? QStringLiteral("most") : QStringLiteral("least"))
                   .arg(bound / 12)
                   .arg(bound % 12));
        return std::nullopt;
    }
    return qint32(total);
}

bool CDlgArea_Tab1::fromControls()
{
    if (!requireText(*m_description->lineEdit(),
                     QStringLiteral("Please enter a description for this location.")))
        return false;
    qint32 values[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::optional<qint32> value = read(m_dimensions[i]);
        if (!value)
            return false;
        values[i] = *value;
    }
    m_strDescription = m_description->currentText();
    m_nLength = values[0];
    m_nWidth = values[1];
    m_nHeight = values[2];
    return true;
}

void CDlgArea_Tab1::onActivated()
{
    m_description->setFocus(Qt::OtherFocusReason);
    m_description->lineEdit()->selectAll();
}
