#pragma once
// Maintenance::AssetPage: the Maintenance page of an asset's sheet: the asset's plans and their
// history, with the buttons of the Maintenance dialog. Plans are saved as they are changed here,
// whatever then becomes of the asset sheet.

#include "widgets/property_page.h"

class CADODataBase;

namespace Maintenance {

class Panel;

class AssetPage : public CPropertyPage
{
    Q_OBJECT
public:
    AssetPage(CADODataBase &db, qint32 homeId, qint32 assetId, QWidget *parent = nullptr);

    void toControls() override { }
    bool fromControls() override { return true; }

    Panel *panel() const { return m_panel; }

private:
    Panel *m_panel = nullptr;
};

} // namespace Maintenance
