#pragma once
// CAssetSheet: the "Asset Properties" sheet. Its pages edit a copy of an asset; Edit saves the
// copy on OK. A video title gets Details, Title Information and Notes; any other
// asset Details, Purchase, Other, Picture and Notes, once stored Maintenance (its plans), and
// last the asset's Attachments; plans and attachments are saved as they are changed there.

#include "records/asset.h"
#include "widgets/property_sheet.h"

class CADODataBase;
class CDlgAsset_Other;
class CDlgAsset_Purchase;
class CDlgAsset_Tab1;
class CDlgAsset_Video;
class CDlgNotes;
class CDlgPicture;
namespace Attachments {
class Page;
}

class CAssetSheet : public CPropertySheet
{
    Q_OBJECT
public:
    // db fills the drop-downs (categories, the locations of the asset's home).
    CAssetSheet(CADODataBase &db, const CAsset &asset, QWidget *owner = nullptr);

    // The asset with the values the pages hold (read back on OK).
    CAsset edited() const;

    // Runs the sheet over asset; on OK the copy is saved and taken over. false when cancelled.
    static bool Edit(CAsset &asset, CADODataBase &db, QWidget *owner);

private:
    CAsset m_asset;
    CDlgAsset_Tab1 *m_details = nullptr;
    CDlgAsset_Purchase *m_purchase = nullptr;
    CDlgAsset_Other *m_other = nullptr;
    CDlgAsset_Video *m_video = nullptr;
    CDlgPicture *m_picture = nullptr;
    CDlgNotes *m_notes = nullptr;
    Attachments::Page *m_attachments = nullptr;
};
