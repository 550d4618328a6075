#pragma once
// CHomeMgrView: the list of homes, shown while no home is current. A click on a home makes it
// the current home; the shared popup and the Delete key work on the selected home.

#include "views/form_view.h"

class CAutoListCtrl;
class CLabel;

class CHomeMgrView : public CFormView
{
    Q_OBJECT
public:
    explicit CHomeMgrView(ViewHost &host, QWidget *parent = nullptr);

    // Rebuilds the list from the data file, selecting homeId when it is listed.
    void Refresh(qint32 homeId);

    CAutoListCtrl *list() const { return m_list; }

    void Layout() override;
    void OnContextNew() override;
    void OnContextDelete() override;
    void OnContextProperties() override;
    bool HasSelection() const override;

    // Asks, then deletes the selected home with its assets, locations and loans.
    void DeleteSelected();
    // The selected home's Home Profile; the same row is selected again afterwards.
    void EditSelected();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onRowClicked(int row);

    CLabel *m_prompt = nullptr;
    CAutoListCtrl *m_list = nullptr;
};
