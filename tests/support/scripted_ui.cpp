#include "support/scripted_ui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTextEdit>

ScriptedUi::ScriptedUi()
{
    Ui::install(this);
}

ScriptedUi::~ScriptedUi()
{
    Ui::install(nullptr);
}

QStringList ScriptedUi::messageTexts() const
{
    QStringList texts;
    for (const Message &m : m_messages)
        texts << m.text;
    return texts;
}

int ScriptedUi::messageBox(QWidget *, const QString &text, const QString &caption, Ui::Icon icon,
                           int buttons, int defaultButton)
{
    int answer = 0;
    if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.pop_front();
    } else if (defaultButton) {
        answer = defaultButton;
    } else {
        answer = (buttons & Ui::Ok) ? Ui::Ok : (buttons & Ui::Yes) ? Ui::Yes : Ui::Ok;
    }
    m_messages.push_back(Message { text, caption, icon, buttons, answer });
    return answer;
}

QString ScriptedUi::openFileName(QWidget *, const QString &, const QString &, const QString &)
{
    if (m_fileNames.empty())
        return {};
    QString name = m_fileNames.front();
    m_fileNames.pop_front();
    return name;
}

QStringList ScriptedUi::openFileNames(QWidget *, const QString &, const QString &, const QString &)
{
    if (m_fileLists.empty())
        return {};
    QStringList names = m_fileLists.front();
    m_fileLists.pop_front();
    return names;
}

QString ScriptedUi::saveFileName(QWidget *owner, const QString &caption, const QString &dir,
                                 const QString &filter)
{
    return openFileName(owner, caption, dir, filter);
}

int ScriptedUi::runModal(QDialog &dialog)
{
    m_dialogTitles << dialog.windowTitle();
    if (m_scripts.empty())
        return QDialog::Rejected;
    DialogScript script = std::move(m_scripts.front());
    m_scripts.pop_front();
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    QApplication::processEvents();
    script(dialog);
    if (dialog.isVisible())
        dialog.reject();
    return dialog.result();
}

bool ScriptedUi::openUrl(const QUrl &url)
{
    m_opened.push_back(url);
    return true;
}

void ScriptedUi::setWaitCursor(bool on)
{
    m_waitDepth += on ? 1 : -1;
    if (on)
        ++m_waitCount;
}

namespace Fill {
namespace {
QWidget *find(QWidget &root, const QString &name)
{
    if (root.objectName() == name)
        return &root;
    return root.findChild<QWidget *>(name);
}
} // namespace

bool text(QWidget &root, const QString &objectName, const QString &value)
{
    QWidget *w = find(root, objectName);
    if (auto *e = qobject_cast<QLineEdit *>(w)) {
        e->setText(value);
        emit e->textEdited(value);
        return true;
    }
    if (auto *e = qobject_cast<QPlainTextEdit *>(w)) {
        e->setPlainText(value);
        return true;
    }
    if (auto *e = qobject_cast<QTextEdit *>(w)) {
        e->setPlainText(value);
        return true;
    }
    if (auto *c = qobject_cast<QComboBox *>(w)) {
        if (c->isEditable()) {
            c->setEditText(value);
            return true;
        }
        const int at = c->findText(value, Qt::MatchFixedString);
        if (at < 0)
            return false;
        c->setCurrentIndex(at);
        return true;
    }
    if (auto *s = qobject_cast<QSpinBox *>(w)) {
        s->setValue(value.toInt());
        return true;
    }
    return false;
}

bool check(QWidget &root, const QString &objectName, bool checked)
{
    auto *b = qobject_cast<QAbstractButton *>(find(root, objectName));
    if (!b)
        return false;
    if (b->isChecked() != checked)
        b->click();
    return true;
}

bool click(QWidget &root, const QString &objectName)
{
    auto *b = qobject_cast<QAbstractButton *>(find(root, objectName));
    if (!b)
        return false;
    b->click();
    return true;
}

bool comboIndex(QWidget &root, const QString &objectName, int index)
{
    auto *c = qobject_cast<QComboBox *>(find(root, objectName));
    if (!c || index >= c->count())
        return false;
    c->setCurrentIndex(index);
    return true;
}

QString textOf(QWidget &root, const QString &objectName)
{
    QWidget *w = find(root, objectName);
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    if (auto *e = qobject_cast<QPlainTextEdit *>(w))
        return e->toPlainText();
    if (auto *e = qobject_cast<QTextEdit *>(w))
        return e->toPlainText();
    if (auto *c = qobject_cast<QComboBox *>(w))
        return c->currentText();
    if (auto *l = qobject_cast<QLabel *>(w))
        return l->text();
    return {};
}

} // namespace Fill
