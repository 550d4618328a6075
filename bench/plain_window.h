#pragma once
// The floor for the program's first window: a plain Qt window with the same visible parts (the
// menu bar with the same menus, the toolbar with the same buttons, a form with four lines of
// text and the shipped picture) built from fixed texts, with no data file and no settings.

#include "app/command_ids.h"
#include "app/toolbar_icons.h"

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QToolBar>
#include <QWidget>

namespace PlainWindow {

// The form: the picture drawn stretched above four lines of text, as the Today view shows them.
class Form : public QWidget
{
public:
    explicit Form(const QString &picturePath, QWidget *parent = nullptr)
        : QWidget(parent)
        , m_picture(picturePath)
    {
        const char *const lines[] = { "My Home", "There are 12 active tasks",
                                      "Home Inventory is worth $123,456.00",
                                      "Home Equity is $98,765.00" };
        for (const char *text : lines)
            m_lines.push_back(new QLabel(QString::fromLatin1(text), this));
    }

protected:
    void resizeEvent(QResizeEvent *) override
    {
        int offset = 100;
        for (QLabel *line : m_lines) {
            line->adjustSize();
            line->move(8, height() - offset);
            offset -= 25;
        }
    }
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (!m_picture.isNull())
            painter.drawImage(QRect(5, 5, width() - 10, height() - 115), m_picture);
    }

private:
    QImage m_picture;
    std::vector<QLabel *> m_lines;
};

// Builds the window's parts into window, the picture read from picturePath.
inline void build(QMainWindow &window, const QString &picturePath)
{
    window.setWindowTitle(QStringLiteral("My Home - Domelio"));
    window.resize(640, 520);
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
    QMenu *newMenu = file->addMenu(QStringLiteral("&New"));
    for (const char *text : { "&Tasks...", "&Asset", "&Location", "&Video/DVD" })
        newMenu->addAction(QString::fromLatin1(text));
    newMenu->addSeparator();
    newMenu->addAction(QStringLiteral("&Home"));
    file->addSeparator();
    for (const char *text : { "&Sync. with Device", "&Backup && Restore...",
                              "&Export Inventory Data", "&Print Inventory Report..." })
        file->addAction(QString::fromLatin1(text));
    file->addSeparator();
    file->addAction(QStringLiteral("E&xit"));
    QMenu *tools = window.menuBar()->addMenu(QStringLiteral("&Tools"));
    for (const char *text : { "&Tasks", "&Home Inventory", "&Locations", "Loan &Manager",
                              "&Recommend Movie", "&Warranties..." })
        tools->addAction(QString::fromLatin1(text));
    tools->addSeparator();
    tools->addAction(QStringLiteral("Select H&ome..."));
    window.menuBar()
        ->addMenu(QStringLiteral("&Help"))
        ->addAction(QStringLiteral("&About Domelio..."));

    auto *toolBar = new QToolBar(QStringLiteral("Toolbar"), &window);
    toolBar->setMovable(false);
    toolBar->setIconSize(QSize(25, 23));
    window.addToolBar(Qt::TopToolBarArea, toolBar);
    const struct
    {
        int id;
        bool separatorBefore;
    } buttons[] = { { Command::NewButton, false },
                    { Command::TodayView, true },
                    { Command::TasksView, false },
                    { Command::InventoryView, false },
                    { Command::LocationsView, false },
                    { Command::LoanManager, true },
                    { Command::Sync, true } };
    for (const auto &button : buttons) {
        if (button.separatorBefore)
            toolBar->addSeparator();
        QAction *tool = toolBar->addAction(ToolbarIcons::icon(button.id), QStringLiteral("Button"));
        tool->setCheckable(true);
    }
    window.setCentralWidget(new Form(picturePath, &window));
}

} // namespace PlainWindow
