#include "sheets/asset_sheet.h"

#include "sheets/asset_details_page.h"
#include "sheets/asset_maintenance_page.h"
#include "sheets/asset_other_page.h"
#include "sheets/asset_purchase_page.h"
#include "sheets/record_edit.h"
#include "sheets/video_title_page.h"
#include "widgets/attachments_page.h"
#include "widgets/notes_page.h"
#include "widgets/picture_page.h"

CAssetSheet::CAssetSheet(CADODataBase &db, const CAsset &asset, QWidget *owner)
    : CPropertySheet(QStringLiteral("Asset Properties"), owner)
    , m_asset(asset)
{
    const bool video = asset.IsVideo();
    if (video && !asset.Exists()) {
        m_asset.m_strDescription = QStringLiteral("New Video");
        m_asset.m_strMakeModel = QStringLiteral("General");
    }

    m_details = new CDlgAsset_Tab1(db, m_asset.m_lHomeId, video, this);
    m_details->m_strDescription = m_asset.m_strDescription;
    m_details->m_lCategoryId = m_asset.m_lCategoryId;
    m_details->m_lAreaId = m_asset.m_lAreaId;
    m_details->m_fCurrentValue = m_asset.m_fCurrentValue;
    AddPage(m_details);

    if (video) {
        m_video = new CDlgAsset_Video(this);
        m_video->m_strGenre = m_asset.m_strMakeModel;
        m_video->m_nReleaseYear = m_asset.m_dtWarrantyExpiration.isValid()
            ? m_asset.m_dtWarrantyExpiration.year()
            : CAsset::kNoWarrantyYear;
        m_video->m_dtPurchaseDate = m_asset.m_dtPurchaseDate;
        AddPage(m_video);
    } else {
        m_purchase = new CDlgAsset_Purchase(this);
        m_purchase->m_fPurchasePrice = m_asset.m_fPurchasePrice;
        m_purchase->m_dtPurchaseDate = m_asset.m_dtPurchaseDate;
        m_purchase->m_strVendor = m_asset.m_strVendor;
        m_purchase->m_strPhone1 = m_asset.m_strPhone1;
        m_purchase->m_strMakeModel = m_asset.m_strMakeModel;
        AddPage(m_purchase);

        m_other = new CDlgAsset_Other(this);
        m_other->m_strSerialNumber = m_asset.m_strSerialNumber;
        m_other->m_fReplacementValue = m_asset.m_fReplacementValue;
        m_other->m_strPhone2 = m_asset.m_strPhone2;
        m_other->m_dtWarrantyExpiration = m_asset.m_dtWarrantyExpiration;
        AddPage(m_other);

        m_picture = new CDlgPicture(this);
        m_picture->m_strPicture = m_asset.m_strPicture;
        if (asset.Exists())
            m_picture->setStoredPicture(&db, m_asset.m_lHomeId, asset.id());
        AddPage(m_picture);
    }

    m_notes = new CDlgNotes(this);
    m_notes->m_strNotes = m_asset.m_strNotes;
    AddPage(m_notes);

    // Plans need the asset's id: a new asset gets its Maintenance page the next time its sheet
    // is opened. A video title has no work that comes round.
    if (!video && asset.Exists())
        AddPage(new Maintenance::AssetPage(db, m_asset.m_lHomeId, asset.id(), this));
    m_attachments = new Attachments::Page(db, m_asset.m_lHomeId, asset.id(), asset.Exists(),
                                          QStringLiteral("asset"), this);
    AddPage(m_attachments);
}

CAsset CAssetSheet::edited() const
{
    CAsset asset = m_asset;
    asset.m_strDescription = m_details->m_strDescription;
    asset.m_strNotes = m_notes->m_strNotes;
    if (m_video) {
        // A title keeps its stored category, location and value: its pages do not show them.
        asset.m_strMakeModel = m_video->m_strGenre;
        asset.m_dtPurchaseDate = m_video->m_dtPurchaseDate;
        asset.m_dtWarrantyExpiration = COleDateTime(m_video->m_nReleaseYear, 1, 1);
        return asset;
    }
    asset.m_lCategoryId = m_details->m_lCategoryId;
    asset.m_lAreaId = m_details->m_lAreaId;
    asset.m_fCurrentValue = m_details->m_fCurrentValue;
    asset.m_strVendor = m_purchase->m_strVendor;
    asset.m_strPhone1 = m_purchase->m_strPhone1;
    asset.m_fPurchasePrice = m_purchase->m_fPurchasePrice;
    asset.m_dtPurchaseDate = m_purchase->m_dtPurchaseDate;
    asset.m_strMakeModel = m_purchase->m_strMakeModel;
    asset.m_dtWarrantyExpiration = m_other->m_dtWarrantyExpiration;
    asset.m_strPhone2 = m_other->m_strPhone2;
    asset.m_fReplacementValue = m_other->m_fReplacementValue;
    asset.m_strSerialNumber = m_other->m_strSerialNumber;
    asset.m_strPicture = m_picture->m_strPicture;
    return asset;
}

bool CAssetSheet::Edit(CAsset &asset, CADODataBase &db, QWidget *owner)
{
    CAssetSheet sheet(db, asset, owner);
    RecordEdit::saveOnOk(sheet, asset, db, QStringLiteral("asset"));
    return sheet.DoModal() == QDialog::Accepted;
}
