#pragma once
// CDlgAsset_Tab1: the Details page of "Asset Properties": description (required), category,
// location and current value. For a video title only the title is edited; the category shows
// disabled and the location and value are hidden.

#include "widgets/property_page.h"

class CADODataBase;
class CComboModel;
class QComboBox;
class QFormLayout;
class QLineEdit;
class QPushButton;

class CDlgAsset_Tab1 : public CPropertyPage
{
    Q_OBJECT
public:
    // The drop-downs are filled from db: the asset categories, and the locations of homeId.
    CDlgAsset_Tab1(CADODataBase &db, qint32 homeId, bool video, QWidget *parent = nullptr);

    void toControls() override;
    bool fromControls() override;
    void onActivated() override;

    QString m_strDescription;
    // The ids of the selected entries after fromControls(); an id that no entry holds shows the
    // first entry and so reads back as 0.
    qint32 m_lCategoryId = 0;
    qint32 m_lAreaId = 0;
    float m_fCurrentValue = 0.0f;

private:
    void fillCategories(qint32 selectId);
    void onCategories();

    CADODataBase &m_db;
    qint32 m_homeId;
    bool m_video;
    QLineEdit *m_description = nullptr;
    QComboBox *m_category = nullptr;
    CComboModel *m_categories = nullptr;
    QPushButton *m_categoriesButton = nullptr;
    QComboBox *m_location = nullptr;
    CComboModel *m_locations = nullptr;
    QLineEdit *m_value = nullptr;
    QFormLayout *m_form = nullptr;
};
