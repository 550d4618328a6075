#include "report/custom_sheet_dialog.h"

#include "format/string_table.h"
#include "widgets/ui.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace Labels {
namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kLongest = 1000; // millimetres: more than any printer's paper

} // namespace

CustomSheetDialog::CustomSheetDialog(const Geometry &geometry, bool inches, QWidget *owner)
    : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Custom Label Sheet"));
    setObjectName(QStringLiteral("customSheetDialog"));

    auto *grid = new QGridLayout;
    auto add = [&](QWidget *field, const QString &text, const QString &accessible, int row,
                   int column) {
        auto *label = new QLabel(text, this);
        label->setBuddy(field);
        field->setAccessibleName(accessible);
        grid->addWidget(label, row, column * 2);
        grid->addWidget(field, row, column * 2 + 1);
    };
    m_units = new QComboBox(this);
    m_units->setObjectName(QStringLiteral("units"));
    m_units->addItem(QStringLiteral("Millimetres"));
    m_units->addItem(QStringLiteral("Inches"));
    add(m_units, QStringLiteral("&Units:"), QStringLiteral("Units"), 0, 0);

    m_pageWidth = length(QStringLiteral("pageWidth"));
    m_pageHeight = length(QStringLiteral("pageHeight"));
    add(m_pageWidth, QStringLiteral("Page &width:"), QStringLiteral("Page width"), 1, 0);
    add(m_pageHeight, QStringLiteral("Page hei&ght:"), QStringLiteral("Page height"), 1, 1);
    m_rows = new QSpinBox(this);
    m_rows->setObjectName(QStringLiteral("rows"));
    m_rows->setRange(0, 100);
    m_columns = new QSpinBox(this);
    m_columns->setObjectName(QStringLiteral("columns"));
    m_columns->setRange(0, 100);
    add(m_rows, QStringLiteral("&Rows:"), QStringLiteral("Rows"), 2, 0);
    add(m_columns, QStringLiteral("&Columns:"), QStringLiteral("Columns"), 2, 1);
    m_labelWidth = length(QStringLiteral("labelWidth"));
    m_labelHeight = length(QStringLiteral("labelHeight"));
    add(m_labelWidth, QStringLiteral("&Label width:"), QStringLiteral("Label width"), 3, 0);
    add(m_labelHeight, QStringLiteral("Label &height:"), QStringLiteral("Label height"), 3, 1);
    m_top = length(QStringLiteral("topMargin"));
    m_left = length(QStringLiteral("leftMargin"));
    add(m_top, QStringLiteral("&Top margin:"), QStringLiteral("Top margin"), 4, 0);
    add(m_left, QStringLiteral("L&eft margin:"), QStringLiteral("Left margin"), 4, 1);
    m_pitchX = length(QStringLiteral("horizontalPitch"));
    m_pitchY = length(QStringLiteral("verticalPitch"));
    add(m_pitchX, QStringLiteral("Hori&zontal pitch:"), QStringLiteral("Horizontal pitch"), 5, 0);
    add(m_pitchY, QStringLiteral("&Vertical pitch:"), QStringLiteral("Vertical pitch"), 5, 1);

    auto *note = new QLabel(
        QStringLiteral("The margins run from the paper's edge to the first label, the pitch from "
                       "one label's edge to the same edge of the next."),
        this);
    note->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CustomSheetDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CustomSheetDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(note);
    layout->addWidget(buttons);

    QWidget *order[] = { m_units,   m_pageWidth,  m_pageHeight,  m_rows,
                         m_columns, m_labelWidth, m_labelHeight, m_top,
                         m_left,    m_pitchX,     m_pitchY };
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    m_scale = inches ? kMmPerInch : 1.0;
    m_units->setCurrentIndex(inches ? 1 : 0);
    unitsChanged();
    m_pageWidth->setValue(geometry.page.width() / m_scale);
    m_pageHeight->setValue(geometry.page.height() / m_scale);
    m_rows->setValue(geometry.rows);
    m_columns->setValue(geometry.columns);
    m_labelWidth->setValue(geometry.label.width() / m_scale);
    m_labelHeight->setValue(geometry.label.height() / m_scale);
    m_top->setValue(geometry.top / m_scale);
    m_left->setValue(geometry.left / m_scale);
    m_pitchX->setValue(geometry.pitchX / m_scale);
    m_pitchY->setValue(geometry.pitchY / m_scale);
    connect(m_units, &QComboBox::currentIndexChanged, this, &CustomSheetDialog::unitsChanged);
}

QDoubleSpinBox *CustomSheetDialog::length(const QString &name)
{
    auto *spin = new QDoubleSpinBox(this);
    spin->setObjectName(name);
    return spin;
}

void CustomSheetDialog::unitsChanged()
{
    const Geometry before = geometry();
    const bool inches = m_units->currentIndex() == 1;
    m_scale = inches ? kMmPerInch : 1.0;
    for (QDoubleSpinBox *spin : { m_pageWidth, m_pageHeight, m_labelWidth, m_labelHeight, m_top,
                                  m_left, m_pitchX, m_pitchY }) {
        spin->setDecimals(inches ? 3 : 2);
        spin->setSingleStep(inches ? 0.125 : 0.5);
        spin->setSuffix(inches ? QStringLiteral(" in") : QStringLiteral(" mm"));
        spin->setRange(0, kLongest / m_scale);
    }
    m_pageWidth->setValue(before.page.width() / m_scale);
    m_pageHeight->setValue(before.page.height() / m_scale);
    m_labelWidth->setValue(before.label.width() / m_scale);
    m_labelHeight->setValue(before.label.height() / m_scale);
    m_top->setValue(before.top / m_scale);
    m_left->setValue(before.left / m_scale);
    m_pitchX->setValue(before.pitchX / m_scale);
    m_pitchY->setValue(before.pitchY / m_scale);
}

Geometry CustomSheetDialog::geometry() const
{
    Geometry g;
    g.page = QSizeF(m_pageWidth->value() * m_scale, m_pageHeight->value() * m_scale);
    g.rows = m_rows->value();
    g.columns = m_columns->value();
    g.label = QSizeF(m_labelWidth->value() * m_scale, m_labelHeight->value() * m_scale);
    g.top = m_top->value() * m_scale;
    g.left = m_left->value() * m_scale;
    g.pitchX = m_pitchX->value() * m_scale;
    g.pitchY = m_pitchY->value() * m_scale;
    return g;
}

bool CustomSheetDialog::inches() const
{
    return m_units->currentIndex() == 1;
}

void CustomSheetDialog::accept()
{
    const QString wrong = problem(geometry());
    if (!wrong.isEmpty()) {
        Ui::messageBox(this, wrong, Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Ok);
        return;
    }
    QDialog::accept();
}

} // namespace Labels
