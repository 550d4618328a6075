#include "sheets/video_title_page.h"

#include "controls/combo_model.h"
#include "db/lookups.h"
#include "format/string_table.h"
#include "records/video_titles.h"
#include "sheets/asset_purchase_page.h"
#include "widgets/shared_look.h"
#include "widgets/text_combo.h"
#include "widgets/up_down_entry.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

CDlgAsset_Video::CDlgAsset_Video(QWidget *parent)
    : CPropertyPage(QStringLiteral("Title Information"), parent)
{
    auto *tip = new QLabel(QStringLiteral("Tip: Entering the correct genre and year will help you "
                                          "easily search for movies later. You may enter the "
                                          "cast, plot, rating and more information under Notes."),
                           this);
    tip->setWordWrap(true);
    QPalette palette = tip->palette();
    palette.setColor(QPalette::WindowText, SharedLook::accentColor());
    tip->setPalette(palette);

    m_genres = new CComboModel(true, this);
    m_genre = new QComboBox(this);
    m_genre->setObjectName(QStringLiteral("genre"));
    TextCombo::makeEditable(*m_genre);
    m_genre->setModel(m_genres);

    m_year = new CUpDownEntry(QStringLiteral("releaseYear"), VideoTitles::kFirstReleaseYear,
                              VideoTitles::lastReleaseYear(), this);
    m_year->setAllowedText(QStringLiteral("\\d{0,4}"));
    m_year->setMaximumWidth(90);

    m_date = AssetPages::makeDatePicker(QStringLiteral("purchaseDate"), this);

    auto *form = new QFormLayout(this);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(tip);
    form->addRow(QStringLiteral("&Genre:"), m_genre);
    TextCombo::nameEdit(*m_genre);
    form->addRow(QStringLiteral("&Release Year:"), m_year);
    form->addRow(QStringLiteral("&Purchase Date:"), m_date);
    setMinimumWidth(380);
}

void CDlgAsset_Video::toControls()
{
    m_genres->ResetContent();
    Lookups::fillComboFromTextList(*m_genres, m_strGenre, Strings::VideoGenres);
    const int match = m_genres->FindStringExact(-1, m_strGenre);
    if (match >= 0)
        m_genre->setCurrentIndex(match);
    else
        m_genre->setEditText(m_strGenre);
    m_year->edit()->setText(QString::number(m_nReleaseYear));
    m_year->setFallback(m_nReleaseYear);
    m_date->setDate(AssetPages::dateOf(m_dtPurchaseDate));
}

bool CDlgAsset_Video::fromControls()
{
    const int last = VideoTitles::lastReleaseYear();
    bool ok = false;
    const int year = m_year->edit()->text().toInt(&ok);
    if (!ok || year < VideoTitles::kFirstReleaseYear || year > last) {
        refuse(*m_year->edit(),
               QStringLiteral("Please enter an integer between %1 and %2.")
                   .arg(VideoTitles::kFirstReleaseYear)
                   .arg(last));
        return false;
    }
    m_nReleaseYear = year;
    m_strGenre = m_genre->currentText();
    if (m_date->date() != AssetPages::dateOf(m_dtPurchaseDate) || !m_dtPurchaseDate.isValid())
        m_dtPurchaseDate = AssetPages::withDate(m_dtPurchaseDate, m_date->date());
    return true;
}

void CDlgAsset_Video::onActivated()
{
    m_genre->setFocus(Qt::OtherFocusReason);
}
