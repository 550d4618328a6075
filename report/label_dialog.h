#pragma once
// Labels::Dialog: "Print Labels". The user chooses what to label (the selected assets, every
// asset of the home, those of ticked categories or locations, a range of asset numbers, or one
// label per ticked location), the sheet (an Avery sheet, a label printer's roll or a custom
// layout), how many labels of a used sheet to skip and a line of their own; then previews,
// prints or saves the labels as a PDF. The choices are kept in the settings for next time.

#include "report/label_contents.h"
#include "report/page_output.h"

#include <QDialog>

class CADODataBase;
class CAutoListCtrl;
class CHome;
class CSettingsKey;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;

namespace Labels {

// Where the dialog was opened from.
struct Context
{
    // The Home Inventory's selection: offered as "the selected asset(s)" and chosen at first.
    std::vector<qint32> selectedAssets {};
    // The Locations view's selection: location labels are chosen, with only it ticked.
    qint32 selectedLocation = 0;
};

class Dialog : public QDialog
{
    Q_OBJECT
public:
    Dialog(CADODataBase &db, const CHome &home, CSettingsKey &settings, const Context &context = {},
           QWidget *owner = nullptr);

    // What the controls ask for now.
    Request request() const;
    Sheet sheet() const;
    Geometry geometry() const;
    int skip() const;
    QString ownLine() const;

    CAutoListCtrl *categoryList() const { return m_categories; }
    CAutoListCtrl *locationList() const { return m_locations; }
    CAutoListCtrl *locationLabelList() const { return m_labelLocations; }
    // The PDF the last Save as PDF wrote; empty until one was written.
    QString writtenFile() const { return m_written; }
    // "<home> Labels <date>.pdf".
    QString proposedFileName() const;

public slots:
    void preview();
    void print();
    void saveAsPdf();
    void editCustomLayout();
    void selectAll() { setAllChecks(true); }
    void selectNone() { setAllChecks(false); }

protected:
    void done(int result) override;

private:
    void createControls();
    QWidget *createChoices();
    QWidget *createSheetBox();
    void restore(const Context &context);
    void remember();
    void choiceChanged();
    void sheetChanged();
    CAutoListCtrl *shownList() const;
    void setAllChecks(bool checked);
    void warn(const QString &text);
    // The labels the controls ask for, read from the data file; false (the user told why) when
    // the layout or the choice cannot give any.
    bool prepare(std::vector<Label> &labels);
    // The labels on the chosen sheet, for preview, print or PDF; labels must outlive it.
    PageOutput::Document document(const std::vector<Label> &labels) const;

    CADODataBase &m_db;
    CSettingsKey &m_settings;
    qint32 m_homeId = 0;
    QString m_homeDescription;
    std::vector<qint32> m_selectedAssets;
    Geometry m_custom;
    bool m_customInches = false;
    QString m_written;

    QButtonGroup *m_choice = nullptr;
    QStackedWidget *m_lists = nullptr;
    CAutoListCtrl *m_categories = nullptr;
    CAutoListCtrl *m_locations = nullptr;
    CAutoListCtrl *m_labelLocations = nullptr;
    QPushButton *m_selectAll = nullptr;
    QPushButton *m_selectNone = nullptr;
    QSpinBox *m_first = nullptr;
    QSpinBox *m_last = nullptr;
    QComboBox *m_sheet = nullptr;
    QLabel *m_summary = nullptr;
    QPushButton *m_layout = nullptr;
    QSpinBox *m_skip = nullptr;
    QLineEdit *m_ownLine = nullptr;
};

} // namespace Labels
