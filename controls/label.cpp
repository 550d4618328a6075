#include "controls/label.h"
#include "widgets/shared_look.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <QApplication>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>

QColor fromColorRef(quint32 colorRef)
{
    return QColor(int(colorRef & 0xff), int((colorRef >> 8) & 0xff), int((colorRef >> 16) & 0xff));
}

quint32 toColorRef(const QColor &color)
{
    return quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16);
}

namespace {

QFont initialFont()
{
#if defined(DOMELIO_HANDHELD)
    // The system font at a character height of 11 pixels.
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(11);
    return font;
#else
    // The default GUI font with the face "Verdana", or a face that exists when it is missing
    // (so that every machine measures and draws the same font).
    const QString family = SharedLook::fontFamily();
    QFont font = QApplication::font();
    if (!family.isEmpty())
        font.setFamily(family);
    return font;
#endif
}

} // namespace

CLabel::CLabel(QWidget *parent)
    : QLabel(parent)
{
    init();
}

CLabel::CLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    init();
}

CLabel::~CLabel() = default;

namespace {

// What assistive technology reads of a label: its text (drawn by hand, so Qt's own label
// interface is not used), and for a clickable one the role of a link with a Press action.
class LabelAccessible : public QAccessibleWidget
{
public:
    explicit LabelAccessible(CLabel *label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }

    QAccessible::Role role() const override
    {
        return label()->isClickable() ? QAccessible::Link : QAccessible::StaticText;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            const QString own = widget()->accessibleName();
            return own.isEmpty() ? label()->accessibleText() : own;
        }
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override
    {
        return label()->isClickable() ? QStringList { pressAction() } : QStringList();
    }

    void doAction(const QString &action) override
    {
        if (action == pressAction() && label()->isClickable())
            emit label()->clicked();
    }

private:
    CLabel *label() const { return static_cast<CLabel *>(widget()); }
};

QAccessibleInterface *labelAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("CLabel") && object && object->isWidgetType())
        return new LabelAccessible(static_cast<CLabel *>(object));
    return nullptr;
}

} // namespace

void CLabel::init()
{
    static const bool accessibleInstalled = [] {
        QAccessible::installFactory(labelAccessible);
        return true;
    }();
    Q_UNUSED(accessibleInstalled);
    const QPalette system = QApplication::palette();
    m_textColor = system.color(QPalette::WindowText);
#if defined(DOMELIO_HANDHELD)
    m_background = QBrush(system.color(QPalette::Window));
#else
    m_background = QBrush(system.color(QPalette::Button)); // the 3D-face colour
#endif
    m_alternate = QBrush(system.color(QPalette::Button));
    m_fontDesc = initialFont();
    setTextFormat(Qt::PlainText); // a description with "<b>" in it is shown as typed
    setAutoFillBackground(false); // paintEvent fills with the label's own brush
    QPalette own = palette();
    own.setColor(QPalette::WindowText, m_textColor);
    setPalette(own);
    ReconstructFont();
}

CLabel &CLabel::SetText(const QString &text)
{
    if (m_blinkMode == BlinkText)
        m_savedText = text;
    setText(text);
    return *this;
}

CLabel &CLabel::SetTextColor(const QColor &color)
{
    m_textColor = color;
    QPalette own = palette();
    own.setColor(QPalette::WindowText, color);
    setPalette(own);
    redraw();
    return *this;
}

CLabel &CLabel::SetFontBold(bool bold)
{
    m_fontDesc.setWeight(bold ? QFont::Bold : QFont::Normal); // 700 / 400
    ReconstructFont();
    redraw();
    return *this;
}

CLabel &CLabel::SetFontUnderline(bool underline)
{
    m_fontDesc.setUnderline(underline);
    ReconstructFont();
    redraw();
    return *this;
}

CLabel &CLabel::SetFontItalic(bool italic)
{
    m_fontDesc.setItalic(italic);
    ReconstructFont();
    redraw();
    return *this;
}

CLabel &CLabel::SetFontSize(int size)
{
    if (size > 0)
        m_fontDesc.setPixelSize(size);
    ReconstructFont();
    redraw();
    return *this;
}

CLabel &CLabel::SetBkColor(const QColor &color)
{
    // Replaces the brush; the next paint uses it (no redraw of its own).
    m_background = QBrush(color);
    return *this;
}

CLabel &CLabel::ReconstructFont()
{
    // Every change rebuilds the whole font from the description, so the order of the setters
    // never matters.
    setFont(m_fontDesc);
    return *this;
}

CLabel &CLabel::SetTitleStyle()
{
    return SetTextColor(QColor(55, 96, 157)).SetFontBold(true);
}

CLabel &CLabel::SetLinkStyle()
{
    return SetTextColor(QColor(0, 0, 0)).SetFontBold(true);
}

QBrush CLabel::CtlColor() const
{
    return m_blinkMode == BlinkBackground && m_blinkOff ? m_alternate : m_background;
}

void CLabel::redraw()
{
    update();
}

// --- blinking ----------------------------------------------------------------------------------

void CLabel::StartBlink(BlinkMode mode, int intervalMs)
{
    StopBlink();
    if (mode == BlinkNone)
        return;
    m_blinkMode = mode;
    m_blinkOff = false;
    m_savedText = text();
    if (!m_timer) {
        m_timer = new QTimer(this);
        connect(m_timer, &QTimer::timeout, this, &CLabel::OnTimer);
    }
    m_timer->start(std::max(1, intervalMs));
}

void CLabel::StopBlink()
{
    if (m_timer)
        m_timer->stop();
    if (m_blinkMode == BlinkText)
        setText(m_savedText);
    m_blinkMode = BlinkNone;
    m_blinkOff = false;
    update();
}

void CLabel::OnTimer()
{
    m_blinkOff = !m_blinkOff;
    if (m_blinkMode == BlinkText)
        setText(m_blinkOff ? QString() : m_savedText);
    else if (m_blinkMode == BlinkBackground)
        repaint();
}

// --- events ------------------------------------------------------------------------------------

void CLabel::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        painter.fillRect(rect(), CtlColor());
    }
    QLabel::paintEvent(event);
    if (hasFocus()) {
        QStylePainter painter(this);
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.backgroundColor = CtlColor().color();
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool CLabel::isClickable() const
{
    return isSignalConnected(QMetaMethod::fromSignal(&CLabel::clicked));
}

QString CLabel::accessibleText() const
{
    return m_blinkMode == BlinkText ? m_savedText : text();
}

void CLabel::connectNotify(const QMetaMethod &signal)
{
    QLabel::connectNotify(signal);
#if !defined(DOMELIO_HANDHELD)
    // The handheld is used with a stylus; on the desktop a link must be reachable by Tab.
    if (signal == QMetaMethod::fromSignal(&CLabel::clicked))
        setFocusPolicy(Qt::StrongFocus);
#endif
}

void CLabel::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (isClickable() && event->modifiers() == Qt::NoModifier
        && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void CLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void CLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton
        && rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

#if !defined(DOMELIO_HANDHELD)

CLabel &CLabel::SetHoverUnderline(bool on)
{
    m_hoverUnderline = on;
    if (on)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    return *this;
}

void CLabel::enterEvent(QEnterEvent *event)
{
    QLabel::enterEvent(event);
    if (m_hoverUnderline && !m_tracking) {
        m_tracking = true;
        m_hovering = true;
        SetFontUnderline(true);
    }
}

void CLabel::leaveEvent(QEvent *event)
{
    QLabel::leaveEvent(event);
    if (!m_hoverUnderline)
        return;
    m_tracking = false;
    if (m_hovering) {
        m_hovering = false;
        SetFontUnderline(false);
    }
}

CLabel &CLabel::SizeToText()
{
    // Lines break at runs of CR and LF: empty lines between them do not count, a leading break
    // gives an empty first line, a trailing one adds nothing; an empty text has no lines.
    const QString all = text();
    QStringList lines;
    if (!all.isEmpty()) {
        static const QRegularExpression breaks(QStringLiteral("[\r\n]+"));
        lines = all.split(breaks);
        if (lines.size() > 1 && lines.last().isEmpty())
            lines.removeLast();
    }
    const QFontMetrics metrics(font());
    int width = 0;
    // The advance, or the inked width where a glyph overhangs it (italics, some faces), so no
    // pixel of the text is cut off.
    for (const QString &line : lines)
        width = std::max({ width, metrics.horizontalAdvance(line), metrics.boundingRect(line).width() });
    // The font's line height (character height plus internal leading) per line.
    const int height = int(lines.size()) * metrics.height();
    const QRect inside = contentsRect();
    const int borderX = this->width() - inside.width() + 2 * margin();
    const int borderY = this->height() - inside.height() + 2 * margin();
    resize(width + borderX, height + borderY);
    return *this;
}

#endif
