#pragma once
// CDlgAsset_Video: the "Title Information" page of a video title's "Asset Properties": genre,
// release year and purchase date.

#include "platform/ole_date.h"
#include "widgets/property_page.h"

class CComboModel;
class CUpDownEntry;
class QComboBox;
class QDateEdit;

class CDlgAsset_Video : public CPropertyPage
{
    Q_OBJECT
public:
    explicit CDlgAsset_Video(QWidget *parent = nullptr);

    void toControls() override;
    bool fromControls() override;
    void onActivated() override;

    QString m_strGenre;
    int m_nReleaseYear = 2000;
    COleDateTime m_dtPurchaseDate;

private:
    CComboModel *m_genres = nullptr;
    QComboBox *m_genre = nullptr;
    CUpDownEntry *m_year = nullptr;
    QDateEdit *m_date = nullptr;
};
