#pragma once
// CDlgRecommendMovie: "Recommend Movie" lists the video titles of every home whose genre is the
// one chosen or typed, by title, with their release years; both columns sort on a click.

#include <QDialog>

class CADODataBase;
class CAutoListCtrl;
class CComboModel;
class QComboBox;

class CDlgRecommendMovie : public QDialog
{
    Q_OBJECT
public:
    explicit CDlgRecommendMovie(CADODataBase &db, QWidget *owner = nullptr);

    // Lists the titles of the genre in the box and says how many were found.
    void Search();

    CAutoListCtrl *list() const { return m_list; }

private:
    CADODataBase &m_db;
    CComboModel *m_genres = nullptr;
    QComboBox *m_genre = nullptr;
    CAutoListCtrl *m_list = nullptr;
};
