#include "sheets/recommend_movie_dialog.h"

#include "controls/auto_list_ctrl.h"
#include "controls/combo_model.h"
#include "db/lookups.h"
#include "format/display_text.h"
#include "format/string_table.h"
#include "records/video_titles.h"
#include "widgets/shared_look.h"
#include "widgets/text_combo.h"
#include "widgets/ui.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CDlgRecommendMovie::CDlgRecommendMovie(CADODataBase &db, QWidget *owner)
    : QDialog(owner)
    , m_db(db)
{
    setObjectName(QStringLiteral("recommendMovie"));
    setWindowTitle(QStringLiteral("Recommend Movie"));

    auto *intro = new QLabel(QStringLiteral("This feature helps you search the videos or DVDs in "
                                            "your Home Inventory. Please select a genre, and tap "
                                            "Search."),
                             this);
    intro->setWordWrap(true);

    m_genres = new CComboModel(true, this);
    Lookups::fillComboFromTextList(*m_genres, QString(), Strings::VideoGenres);
    m_genre = new QComboBox(this);
    m_genre->setObjectName(QStringLiteral("genre"));
    TextCombo::makeEditable(*m_genre);
    m_genre->setModel(m_genres);
    const int romance = m_genres->FindStringExact(-1, QStringLiteral("Romance"));
    m_genre->setCurrentIndex(romance);
    auto *genreLabel = new QLabel(QStringLiteral("&Genre:"), this);
    genreLabel->setBuddy(m_genre);
    TextCombo::nameEdit(*m_genre);

    auto *search = new QPushButton(QStringLiteral("&Search"), this);
    search->setObjectName(QStringLiteral("search"));
    search->setDefault(true);

    m_list = new CAutoListCtrl(this, CAutoListCtrl::SingleSelection);
    m_list->setObjectName(QStringLiteral("titles"));
    m_list->setAccessibleName(QStringLiteral("Titles found"));
    m_list->setFont(SharedLook::normalFont());
    m_list->InsertColumn(0, QStringLiteral("Year"), CListModel::FormatLeft, 50);
    m_list->InsertColumn(1, QStringLiteral("Title"), CListModel::FormatLeft, 150);
    m_list->SetExtendedStyle(CAutoListCtrl::FullRowSelect);
    m_list->setMinimumSize(260, 200);

    auto *buttons = new QDialogButtonBox(this);
    auto *close = buttons->addButton(QStringLiteral("&Close"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("close"));
    close->setAutoDefault(false);

    auto *layout = new QGridLayout(this);
    layout->addWidget(intro, 0, 0, 1, 3);
    layout->addWidget(genreLabel, 1, 0);
    layout->addWidget(m_genre, 1, 1);
    layout->addWidget(search, 1, 2);
    layout->addWidget(m_list, 2, 0, 1, 3);
    layout->addWidget(buttons, 3, 0, 1, 3);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);
    setTabOrder(m_genre, search);
    setTabOrder(search, m_list);
    setTabOrder(m_list, close);

    connect(search, &QPushButton::clicked, this, &CDlgRecommendMovie::Search);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CDlgRecommendMovie::Search()
{
    std::vector<VideoTitles::Title> titles;
    {
        Ui::WaitCursor wait;
        titles = VideoTitles::search(m_db, m_genre->currentText());
        m_list->SetRedraw(false);
        m_list->DeleteAllItems();
        for (const VideoTitles::Title &title : titles) {
            const int row = m_list->InsertItem(m_list->GetItemCount(), QString::number(title.year));
            m_list->SetItemText(row, 1, title.title);
            m_list->SetItemData(row, title.assetId);
        }
        m_list->SetRedraw(true);
    }

    const QString caption = Strings::load(Strings::AppTitle);
    if (!titles.empty()) {
        Ui::messageBox(this,
                       numberText(float(titles.size()), false, false)
                           + QStringLiteral(" title(s) were found!"),
                       caption, Ui::Icon::Information, Ui::Ok);
    } else {
        Ui::messageBox(this,
                       QStringLiteral("Sorry, there were no movies in the library that match "
                                      "your search criteria."),
                       caption, Ui::Icon::Information, Ui::Ok);
    }
}
