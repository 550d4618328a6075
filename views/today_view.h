#pragma once
// CTodayView: the current home at a glance: its picture and four lines that sum it up (its
// name, the active tasks, the inventory's worth and the home equity), each a shortcut to the
// part of the program that changes it.

#include "views/form_view.h"
#include "widgets/image_file.h"

#include <QByteArray>
#include <QDate>
#include <QRect>

#include <optional>
#include <vector>

class CLabel;
class QTimer;

class CTodayView : public CFormView
{
    Q_OBJECT
public:
    explicit CTodayView(ViewHost &host, QWidget *parent = nullptr);

    // The three per-home updates the frame runs when the current home changes, in this order:
    // UpdateLines, LoadPicture, ComputeEquity.
    //
    // The four lines, recomputed from the data file each time: the active count and the
    // inventory total come from one aggregate statement each, by the filters the Tasks and
    // Home Inventory views keep in the settings, so they never wait for those views to fill.
    void UpdateLines();
    // The home's picture (the one of its papers chosen as picture, else the file its path
    // names), else the shipped default.jpg, else none.
    void LoadPicture();
    // The home's value less what its equity loans still owe. Runs first when the current home
    // changes or was edited, so it also forgets the inventory total counted for the last one.
    void ComputeEquity();

    // The current home's Home Profile at page 0 or 1; on OK the view, the window title and the
    // Homes view follow the edit, and the equity follows the loans whatever the result.
    // Returns whether it was confirmed.
    bool EditHome(int page);

    // Keeps the inventory's worth with the data file's stamp in the settings, so the next start
    // shows it without adding up every asset again, as long as the file has not changed since.
    // Called as the program closes, after its last change to the file; counts the file afresh
    // with the one aggregate statement, and keeps nothing when it cannot.
    void RememberInventoryWorth();

    // For the program's start: when the worth has to be counted afresh (the file changed since
    // it was kept), count it once the view has first been painted, so the window shows without
    // waiting for every asset to be added up. The inventory line is hidden until then.
    void CountWorthAfterFirstPaint() { m_countAfterPaint = true; }
    // Whether that count is still to come.
    bool worthPending() const { return m_worthPending; }

    // The rectangle a picture of size picture is drawn into in a client area of size client:
    // centred when it fits, else 5 pixels in from either side; from 5 pixels below the top,
    // ending 110 pixels above the bottom when it is taller than the client height less 115.
    static QRect PictureRect(QSize picture, QSize client);

    // Where the fallback picture is read from: the shipped default.jpg, which the frame names
    // (see DataLocation::shippedFolder); none until then.
    void setDefaultPicturePath(const QString &path) { m_defaultPicture = path; }
    QString defaultPicturePath() const { return m_defaultPicture; }

    float equity() const { return m_fEquity; }
    bool hasPicture() const { return m_picture.IsLoaded(); }
    QRect pictureRect() const { return m_pictureRect; }
    CLabel *homeLine() const { return m_lines[0]; }
    CLabel *tasksLine() const { return m_lines[1]; }
    CLabel *inventoryLine() const { return m_lines[2]; }
    CLabel *equityLine() const { return m_lines[3]; }
    // Under the inventory line, shown only while a warranty of the home ended in the last 30
    // days or ends within 30 days; a click opens the Warranties dialog.
    CLabel *warrantyLine() const { return m_warrantyLine; }
    // Under the warranty line, shown only while a maintenance plan of the home is overdue or
    // due within 7 days; a click opens the Maintenance dialog.
    CLabel *maintenanceLine() const { return m_maintenanceLine; }

    void Layout() override;

    // The shortcuts behind the tasks and inventory lines.
    void OnTasksLine();
    void OnInventoryLine();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int activeTasks() const;
    // Nothing when the assets could not be read.
    std::optional<double> inventoryTotal();
    // Whether the inventory total is known without adding up the assets: the filled view's, the
    // one counted here for this home and category from the file as it is, or the one kept with
    // the file's stamp.
    bool worthAtHand();
    // The worth kept by RememberInventoryWorth, when it was kept for this home and category and
    // the data file is unchanged since.
    std::optional<double> rememberedWorth(qint32 homeId, qint32 category) const;
    void placePicture();
    bool loadStoredPicture();
    void updateWarrantyLine();
    // The warranty line again for a new day, when the date has changed since it was made.
    void followTheDate();
    void updateMaintenanceLine();
    // The lines shown, top to bottom.
    std::vector<CLabel *> shownLines() const;
    void placeLines();

    CLabel *m_lines[4] = {};
    CLabel *m_warrantyLine = nullptr;
    // The day the warranty line counts from, and the timer that wakes at the next midnight.
    QDate m_linesDate;
    QTimer *m_midnight = nullptr;
    CLabel *m_maintenanceLine = nullptr;
    CImageFile m_picture;
    QRect m_pictureRect;
    float m_fEquity = 0.0f;
    // The inventory total counted here while the Home Inventory view's is not current, for the
    // home, category and file stamp it was counted for; dropped with every ComputeEquity.
    std::optional<double> m_countedTotal;
    qint32 m_countedHome = 0;
    qint32 m_countedCategory = 0;
    QByteArray m_countedStamp;
    bool m_countAfterPaint = false;
    bool m_worthPending = false;
    QString m_defaultPicture;
};
