#pragma once
// CPropertyPage: one page of a property sheet. A page holds its own copy of the values it
// edits: the owner sets them before the sheet runs, the page shows them in its controls, and
// when the page is left or the sheet confirmed it reads them back, refusing input it cannot
// accept (it then says why and keeps the focus on the offending control).

#include <QWidget>

class QLineEdit;

class CPropertyPage : public QWidget
{
    Q_OBJECT
public:
    explicit CPropertyPage(const QString &title, QWidget *parent = nullptr);

    QString title() const { return m_title; }

    // Copies the values into the controls (when the sheet opens).
    virtual void toControls() = 0;
    // Reads the controls back into the values; false (after telling the user) refuses to let
    // the page be left.
    virtual bool fromControls() = 0;
    // Called each time the page becomes the visible one.
    virtual void onActivated() { }

protected:
    // Refuses an empty (or blank) text with message, captioned with the program's name.
    bool requireText(QLineEdit &edit, const QString &message);
    // Reads a number entry into value (which holds the value the edit was filled from); refuses
    // text that is not a decimal number. An edit still showing value's own text keeps value
    // exactly: the short form shown ("1.23457e+06") would otherwise round it on every OK.
    bool readNumber(QLineEdit &edit, float &value);
    // Shows a refusal and puts the focus (with the text selected) on the control.
    void refuse(QWidget &control, const QString &message);

private:
    QString m_title;
};
