#include "sheets/asset_maintenance_page.h"

#include "records/home.h"
#include "sheets/maintenance_panel.h"

#include <QVBoxLayout>

namespace Maintenance {

AssetPage::AssetPage(CADODataBase &db, qint32 homeId, qint32 assetId, QWidget *parent)
    : CPropertyPage(QStringLiteral("Maintenance"), parent)
{
    CHome home(homeId);
    home.Load(db);
    m_panel = new Panel(db, homeId, home.m_strDescription, assetId, QDate::currentDate(), this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_panel);
    // Room for the plans' columns beside the buttons, and for the sheet's six tabs.
    setMinimumWidth(580);
}

} // namespace Maintenance
