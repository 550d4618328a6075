#pragma once
// CLabel: a static text with its own text colour, background and font, the presets the program
// uses for titles and links, and (desktop) hover underlining and size-to-text. The handheld
// build (DOMELIO_HANDHELD, compiled into Amortix) starts from the system font at height 11 on
// the window colour, has no hover underlining and no size-to-text, and is exported by name.
// Colours may be given as 0x00BBGGRR values (COLORREF, red in the low byte) or as QColor.

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QString>

#if defined(DOMELIO_HANDHELD)
#define CLABEL_EXPORT __attribute__((visibility("default")))
#else
#define CLABEL_EXPORT
#endif

class QTimer;

// A 0x00BBGGRR value (red in the low byte) as a colour.
CLABEL_EXPORT QColor fromColorRef(quint32 colorRef);
// A colour as a 0x00BBGGRR value.
CLABEL_EXPORT quint32 toColorRef(const QColor &color);

class CLABEL_EXPORT CLabel : public QLabel
{
    Q_OBJECT

public:
    enum BlinkMode { BlinkNone = 0, BlinkText = 1, BlinkBackground = 2 };

    explicit CLabel(QWidget *parent = nullptr);
    explicit CLabel(const QString &text, QWidget *parent = nullptr);
    ~CLabel() override;

    CLabel &SetText(const QString &text);
    CLabel &SetTextColor(quint32 colorRef) { return SetTextColor(fromColorRef(colorRef)); }
    CLabel &SetTextColor(const QColor &color);
    CLabel &SetFontBold(bool bold);
    CLabel &SetFontUnderline(bool underline);
    CLabel &SetFontItalic(bool italic);
    // Character height in pixels (a logical font's negative height).
    CLabel &SetFontSize(int size);
    CLabel &SetBkColor(quint32 colorRef) { return SetBkColor(fromColorRef(colorRef)); }
    CLabel &SetBkColor(const QColor &color);
    // Builds the font again from the font description (after every font change).
    CLabel &ReconstructFont();

    // Presets: accent colour RGB(55, 96, 157) bold; black bold.
    CLabel &SetTitleStyle();
    CLabel &SetLinkStyle();

    // Something listens to clicked(): the label then acts as a link for assistive technology
    // (role Link, action Press) and, on the desktop, for the keyboard (it takes the focus;
    // Space or Enter click it).
    bool isClickable() const;
    // The text a screen reader is given: the shown text, or the saved one while text blinking
    // hides it.
    QString accessibleText() const;

    QColor textColor() const { return m_textColor; }
    QColor bkColor() const { return m_background.color(); }
    QFont fontDescription() const { return m_fontDesc; }
    // The brush the background is painted with now: the background brush, or the alternate
    // one while background blinking is in its off phase (CtlColor's result).
    QBrush CtlColor() const;

    // Blinking (nothing in the program starts it): text mode shows the saved text and nothing
    // in turn, background mode alternates the background and the button-face colour.
    void StartBlink(BlinkMode mode, int intervalMs = 500);
    void StopBlink();
    BlinkMode blinkMode() const { return m_blinkMode; }
    void OnTimer(); // one blink step; called by the timer

#if !defined(DOMELIO_HANDHELD)
    // Underline while the pointer is over the label, with the pointing-hand cursor (links).
    CLabel &SetHoverUnderline(bool on);
    bool hoverUnderline() const
    {
        return m_hoverUnderline;
    }
    bool isHovering() const
    {
        return m_hovering;
    }
    // Resizes the label so that its text fits (lines split at runs of CR/LF).
    CLabel &SizeToText();
#endif

signals:
    void clicked();

protected:
    void connectNotify(const QMetaMethod &signal) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
#if !defined(DOMELIO_HANDHELD)
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
#endif

private:
    void init();
    void redraw();

    QColor m_textColor;
    QBrush m_background;
    QBrush m_alternate; // the button-face colour, for background blinking
    QFont m_fontDesc;
    BlinkMode m_blinkMode = BlinkNone;
    bool m_blinkOff = false;
    QString m_savedText;
    QTimer *m_timer = nullptr;
    bool m_pressed = false;
#if !defined(DOMELIO_HANDHELD)
    bool m_hoverUnderline = false;
    bool m_tracking = false;
    bool m_hovering = false;
#endif
};
