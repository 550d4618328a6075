#pragma once
// CRoomsView: the rooms and other locations of the current home, by name, with the selected
// one's dimensions, area and notes below the list. New, Delete and Properties come from the
// shared popup, the Delete key (no question: the assets stay, without a location), Space and a
// double click.

#include "views/form_view.h"

class CAutoListCtrl;
class CLabel;
class QPlainTextEdit;

class CRoomsView : public CFormView
{
    Q_OBJECT
public:
    explicit CRoomsView(ViewHost &host, QWidget *parent = nullptr);

    // Reads the current home's locations again, selecting areaId when it is listed. A hidden
    // view reads them when it is next shown.
    void Refresh(qint32 areaId);

    // A new location of the current home through its sheet; when saved, the list is read again
    // with it selected. Returns its id, or 0 when nothing was stored.
    qint32 NewLocation();

    CAutoListCtrl *list() const { return m_list; }
    QPlainTextEdit *descriptionBox() const { return m_description; }
    qint32 shownId() const { return m_shownId; }

    void Layout() override;
    void OnContextNew() override;
    void OnContextDelete() override;
    void OnContextProperties() override;
    bool HasSelection() const override;

    // The selected location's text in the box below the list.
    void ViewSelected();
    // The selected location's sheet; confirmed, the list is read again keeping it selected.
    void EditSelected();
    // Deletes the selected location at once; its assets lose their location.
    void DeleteSelected();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fill(qint32 areaId);

    CLabel *m_title = nullptr;
    CAutoListCtrl *m_list = nullptr;
    QPlainTextEdit *m_description = nullptr;
    qint32 m_shownId = 0;
};
