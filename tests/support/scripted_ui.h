#pragma once
// The person at the keyboard, scripted: installed as the program's Ui services for its
// lifetime, it records every message box and answers it, returns prepared file names, and runs
// a test's script against each modal dialog instead of waiting for a person.

#include "widgets/ui.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

class QWidget;

class ScriptedUi : public Ui::Services
{
public:
    struct Message
    {
        QString text;
        QString caption;
        Ui::Icon icon;
        int buttons;
        int answer;
    };
    // Works on the shown dialog: fill controls, click buttons. If the dialog is still open
    // when the script returns, it is cancelled.
    using DialogScript = std::function<void(QDialog &)>;

    ScriptedUi();
    ~ScriptedUi() override;

    // Answers for the next message boxes, in order. Without one, a box gets its default
    // button, or else Ok / Yes.
    void answer(int button) { m_answers.push_back(button); }
    void nextFileName(const QString &name) { m_fileNames.push_back(name); }
    // The answer to the next question for several files (empty: cancelled).
    void nextFileNames(const QStringList &names) { m_fileLists.push_back(names); }
    void onNextDialog(DialogScript script) { m_scripts.push_back(std::move(script)); }

    const std::vector<Message> &messages() const { return m_messages; }
    QStringList messageTexts() const;
    const std::vector<QUrl> &openedUrls() const { return m_opened; }
    QStringList dialogTitles() const { return m_dialogTitles; }
    int waitDepth() const { return m_waitDepth; }
    int waitCursorCount() const { return m_waitCount; }
    int pendingScripts() const { return int(m_scripts.size()); }

    int messageBox(QWidget *owner, const QString &text, const QString &caption, Ui::Icon icon,
                   int buttons, int defaultButton) override;
    QString openFileName(QWidget *owner, const QString &caption, const QString &dir,
                         const QString &filter) override;
    QStringList openFileNames(QWidget *owner, const QString &caption, const QString &dir,
                              const QString &filter) override;
    QString saveFileName(QWidget *owner, const QString &caption, const QString &dir,
                         const QString &filter) override;
    int runModal(QDialog &dialog) override;
    bool openUrl(const QUrl &url) override;
    void setWaitCursor(bool on) override;

private:
    std::deque<int> m_answers;
    std::deque<QString> m_fileNames;
    std::deque<QStringList> m_fileLists;
    std::deque<DialogScript> m_scripts;
    std::vector<Message> m_messages;
    std::vector<QUrl> m_opened;
    QStringList m_dialogTitles;
    int m_waitDepth = 0;
    int m_waitCount = 0;
};

// Finding and driving controls by objectName (searched in root and all its children).
namespace Fill {
bool text(QWidget &root, const QString &objectName, const QString &value);
bool check(QWidget &root, const QString &objectName, bool checked);
bool click(QWidget &root, const QString &objectName);
bool comboIndex(QWidget &root, const QString &objectName, int index);
QString textOf(QWidget &root, const QString &objectName);
} // namespace Fill
