#pragma once
// CDlgPicture: the picture page of the home and asset sheets. The record keeps the path only;
// the file is never copied or checked when the record is saved.

#include "widgets/image_file.h"
#include "widgets/property_page.h"

#include <QRect>

class QLineEdit;

class CDlgPicture : public CPropertyPage
{
    Q_OBJECT
public:
    explicit CDlgPicture(QWidget *parent = nullptr);

    void toControls() override;
    bool fromControls() override;

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

    QLineEdit *m_path = nullptr;
    CImageFile m_image;
    QRect m_previewRect;
};
