#include "widgets/text_combo.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

// A label's text as a reader says it: "&&" is an ampersand, a single '&' marks the mnemonic.
QString withoutMnemonic(const QString &text)
{
    QString spoken;
    spoken.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && ++i == text.size())
            break;
        spoken += text[i];
    }
    return spoken;
}

} // namespace

namespace TextCombo {

void makeEditable(QComboBox &combo)
{
    combo.setEditable(true);
    combo.setInsertPolicy(QComboBox::NoInsert);
    combo.setCompleter(nullptr);
}

void nameEdit(QComboBox &combo)
{
    QLineEdit *edit = combo.lineEdit();
    if (!edit)
        return;
    QString name = combo.accessibleName();
    if (name.isEmpty() && combo.parentWidget()) {
        for (const QLabel *label : combo.parentWidget()->findChildren<QLabel *>()) {
            if (label->buddy() == &combo) {
                name = withoutMnemonic(label->text());
                break;
            }
        }
    }
    edit->setAccessibleName(name);
}

} // namespace TextCombo
