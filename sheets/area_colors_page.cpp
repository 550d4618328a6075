#include "sheets/area_colors_page.h"

#include "controls/label.h"
#include "records/area.h"
#include "sheets/color_dialog.h"
#include "widgets/shared_look.h"
#include "widgets/ui.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

CDlgArea_Colors::CDlgArea_Colors(QWidget *parent)
    : CPropertyPage(QStringLiteral("Colors"), parent)
{
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    for (int i = 0; i < 3; ++i) {
        m_labels[i] = new QLabel(QStringLiteral("Color %1:").arg(i + 1), this);
        m_labels[i]->setObjectName(QStringLiteral("label%1").arg(i + 1));
        m_labels[i]->setFont(SharedLook::boldFont());
        m_labels[i]->setTextFormat(Qt::PlainText);
        m_swatches[i] = new CLabel(this);
        m_swatches[i]->setObjectName(QStringLiteral("swatch%1").arg(i + 1));
        m_swatches[i]->setMinimumSize(120, 72);
        m_swatches[i]->setAlignment(Qt::AlignCenter);
        m_swatches[i]->setWordWrap(true);
        m_swatches[i]->setFrameShape(QFrame::Box);
        m_swatches[i]->setCursor(Qt::PointingHandCursor);
        // The swatches are buttons for the keyboard too: Tab reaches them, Space or Enter opens
        // the colour picker.
        m_swatches[i]->setFocusPolicy(Qt::StrongFocus);
        m_swatches[i]->installEventFilter(this);
        connect(m_swatches[i], &CLabel::clicked, this, [this, i] { ChooseColor(i); });
        grid->addWidget(m_labels[i], 0, i);
        grid->addWidget(m_swatches[i], 1, i);
    }

    auto *info = new QLabel(QStringLiteral("This feature helps you remember the colors of walls, "
                                           "curtains, panels, floors etc. of each room or "
                                           "location in your home. Use it when shopping for "
                                           "matching furniture or paint."),
                            this);
    info->setWordWrap(true);
    QPalette palette = info->palette();
    palette.setColor(QPalette::WindowText, SharedLook::accentColor());
    info->setPalette(palette);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(12);
    layout->addWidget(info);
    layout->addStretch(1);
}

void CDlgArea_Colors::showSwatch(CLabel &swatch, qint32 color)
{
    swatch.SetTextColor(QColor(160, 160, 164));
    swatch.SetFontSize(11);
    swatch.SetBkColor(quint32(color));
    swatch.SetText(color == CArea::kNoColor ? QStringLiteral("Click to change color") : QString());
    swatch.update();
}

void CDlgArea_Colors::showLabels()
{
    for (int i = 0; i < 3; ++i) {
        m_labels[i]->setText(m_strLabel[i]);
        // The name replaces the swatch's text for a screen reader, so it says the colour too.
        const quint32 color = quint32(m_nColor[i]);
        const QString shown = m_nColor[i] == CArea::kNoColor
            ? QStringLiteral("no color chosen")
            : QStringLiteral("red %1, green %2, blue %3")
                  .arg(color & 0xff)
                  .arg((color >> 8) & 0xff)
                  .arg((color >> 16) & 0xff);
        m_swatches[i]->setAccessibleName(
            QStringLiteral("Color %1: %2, %3").arg(i + 1).arg(m_strLabel[i], shown));
    }
}

void CDlgArea_Colors::toControls()
{
    for (int i = 0; i < 3; ++i)
        showSwatch(*m_swatches[i], m_nColor[i]);
    showLabels();
}

void CDlgArea_Colors::ChooseColor(int index)
{
    CDlgSelectColor dialog(m_nColor[index], m_strLabel[index], this);
    if (Ui::runModal(dialog) != QDialog::Accepted)
        return;
    m_nColor[index] = dialog.color();
    m_strLabel[index] = dialog.description();
    showSwatch(*m_swatches[index], m_nColor[index]);
    showLabels();
}

bool CDlgArea_Colors::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        for (int i = 0; i < 3; ++i) {
            if (watched == m_swatches[i]
                && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
                ChooseColor(i);
                return true;
            }
        }
    }
    return CPropertyPage::eventFilter(watched, event);
}
