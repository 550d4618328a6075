#pragma once
// "Import Inventory Data": what was read from the chosen file (its encoding, separator and
// header row, each changeable), which field each column goes into, a preview of the rows as
// they will be saved and of every row that will be skipped, and what to do with rows that match
// an asset of the home. Import saves everything in one transaction; Cancel changes nothing.

#include "exchange/import_models.h"
#include "exchange/inventory_import.h"

#include <QDialog>

#include <optional>

class CADODataBase;
class CHome;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableView;
class QTableWidget;
class QTabWidget;

namespace Import {

class Dialog : public QDialog
{
    Q_OBJECT
public:
    // path: the file the bytes were read from; start: what the file itself suggests.
    Dialog(CADODataBase &db, const CHome &home, const QString &path, QByteArray bytes,
           const Settings &start, QWidget *owner = nullptr);

    const Settings &settings() const { return m_settings; }
    const Preview &currentPreview() const { return m_preview; }
    // What the import did, once Import succeeded.
    const std::optional<Outcome> &outcome() const { return m_outcome; }
    const QByteArray &bytes() const { return m_bytes; }
    // Why Import cannot run now (no description column, two columns in one field); empty when
    // it can.
    QString blocker() const { return m_blocker; }

public slots:
    // Imports; the dialog closes only once the rows were saved.
    void accept() override;

private:
    QWidget *makeReadGroup();
    QWidget *makeColumnsGroup();
    QWidget *makePreviewGroup();
    QWidget *makeMatchingGroup();
    void formatChanged();
    void fillColumns();
    void fieldChosen(int column, int index);
    // The fields the preview and the import use: a field two columns claim goes to the first.
    std::vector<Field> effectiveFields() const;
    void checkColumns();
    void refreshPreview();

    CADODataBase &m_db;
    qint32 m_homeId = 0;
    QString m_homeName;
    QString m_path;
    QByteArray m_bytes;
    Settings m_settings;
    Columns m_columns;
    Preview m_preview;
    std::optional<Outcome> m_outcome;
    QString m_blocker;
    bool m_filling = false;

    QLabel *m_fileName = nullptr;
    QComboBox *m_encoding = nullptr;
    QComboBox *m_separator = nullptr;
    QCheckBox *m_headers = nullptr;
    QTableWidget *m_columnTable = nullptr;
    QLabel *m_columnNote = nullptr;
    QLabel *m_summary = nullptr;
    QTabWidget *m_tabs = nullptr;
    QTableView *m_previewView = nullptr;
    QTableView *m_skippedView = nullptr;
    PreviewModel *m_previewModel = nullptr;
    SkippedModel *m_skippedModel = nullptr;
    QRadioButton *m_skipMatches = nullptr;
    QRadioButton *m_updateMatches = nullptr;
    QPushButton *m_import = nullptr;
};

} // namespace Import
