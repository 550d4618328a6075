#pragma once
// CDlgPicture: the picture page of the home and asset sheets. The record keeps the path only;
// the file is never copied or checked when the record is saved. When one of the record's
// attachments is chosen as its picture (Use as Picture), the page shows that one, kept in the
// data file, in place of the file the path names, and says so.

#include "records/attachments.h"
#include "widgets/image_file.h"
#include "widgets/property_page.h"

#include <QRect>

#include <optional>

class CADODataBase;
class QLabel;
class QLineEdit;

class CDlgPicture : public CPropertyPage
{
    Q_OBJECT
public:
    explicit CDlgPicture(QWidget *parent = nullptr);

    void toControls() override;
    bool fromControls() override;
    // The attachment chosen as picture may have changed on the Attachments page.
    void onActivated() override;

    // Where the record's attachments are: the home, and the asset (Attachments::kHomeItself for
    // the home's own picture). Without it the page knows the path only.
    void setStoredPicture(CADODataBase *db, qint32 homeId, qint32 assetId);
    // The attachment shown as the picture, if one is.
    const std::optional<Attachments::Attachment> &storedPicture() const { return m_stored; }

    // Reloads the picture named in the path edit and places it (on opening and after Browse; a
    // typed path waits for the next of those).
    void RefreshPreview();
    // Where the preview is drawn; empty while there is no usable picture.
    QRect previewRect() const { return m_previewRect; }

    // Placement of a picture of the given size on a page of the given size: at its own size
    // below the path row, squeezed into the page where it does not fit.
    static QRect previewRectFor(QSize page, QSize picture);

    QString m_strPicture;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void onBrowse();
    void onView();
    void readStoredPicture();
    // The page less the line that names a stored picture.
    QSize previewArea() const;

    QLineEdit *m_path = nullptr;
    QLabel *m_storedLine = nullptr;
    CImageFile m_image;
    QRect m_previewRect;
    CADODataBase *m_db = nullptr;
    qint32 m_homeId = 0;
    qint32 m_assetId = 0;
    std::optional<Attachments::Attachment> m_stored;
};
