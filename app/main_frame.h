#pragma once
// CMainFrame: the main window. It owns the views, the current home and the commands.

#include <QMainWindow>

class CHomeApp;

class CMainFrame : public QMainWindow
{
    Q_OBJECT
public:
    explicit CMainFrame(CHomeApp &app, QWidget *parent = nullptr);
    ~CMainFrame() override;

    // Creates the views that follow the Homes view.
    void CreateViews();
    // Refills the Homes view, selecting homeId when listed.
    void RefreshHomesView(qint32 homeId);
    // Makes homeId the current home; when it cannot be loaded, falls back to the Homes view with
    // no current home. Returns whether the home became current.
    bool SetCurrentHome(qint32 homeId);
    // The Homes view with no current home.
    void OnSelectHome();
    // The sheet of a new home; saving it makes it the current home.
    void OnNewHome();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    CHomeApp &m_app;
};
