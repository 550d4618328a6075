#include "widgets/picture_page.h"

#include "records/attachment_store.h"
#include "widgets/attachment_actions.h"
#include "widgets/ui.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// The path row takes the top 30 pixels; the picture starts 3 pixels below it.
constexpr int kRowHeight = 30;
constexpr int kMargin = 3;
constexpr int kPictureTop = kRowHeight + kMargin;

} // namespace

CDlgPicture::CDlgPicture(QWidget *parent)
    : CPropertyPage(QStringLiteral("Picture"), parent)
{
    auto *row = new QWidget(this);
    row->setFixedHeight(kRowHeight);
    m_path = new QLineEdit(row);
    m_path->setObjectName(QStringLiteral("picturePath"));
    auto *browse = new QPushButton(QStringLiteral("&Browse"), row);
    browse->setObjectName(QStringLiteral("browse"));
    auto *view = new QPushButton(QStringLiteral("&View"), row);
    view->setObjectName(QStringLiteral("view"));
    browse->setAutoDefault(false);
    view->setAutoDefault(false);

    auto *rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(kMargin, kMargin, kMargin, 0);
    rowLayout->addWidget(m_path, 1);
    rowLayout->addWidget(browse);
    rowLayout->addWidget(view);

    m_storedLine = new QLabel(this);
    m_storedLine->setObjectName(QStringLiteral("storedPicture"));
    m_storedLine->setWordWrap(true);
    m_storedLine->setContentsMargins(kMargin, 0, kMargin, kMargin);
    m_storedLine->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(row);
    layout->addStretch(1);
    layout->addWidget(m_storedLine);
    setMinimumSize(360, 240);

    connect(browse, &QPushButton::clicked, this, &CDlgPicture::onBrowse);
    connect(view, &QPushButton::clicked, this, &CDlgPicture::onView);
}

void CDlgPicture::toControls()
{
    m_path->setText(m_strPicture);
    readStoredPicture();
    RefreshPreview();
}

void CDlgPicture::onActivated()
{
    const std::optional<qint64> before =
        m_stored ? std::optional<qint64>(m_stored->id) : std::nullopt;
    readStoredPicture();
    const std::optional<qint64> now = m_stored ? std::optional<qint64>(m_stored->id) : std::nullopt;
    if (before != now)
        RefreshPreview();
}

void CDlgPicture::setStoredPicture(CADODataBase *db, qint32 homeId, qint32 assetId)
{
    m_db = db;
    m_homeId = homeId;
    m_assetId = assetId;
}

void CDlgPicture::readStoredPicture()
{
    m_stored.reset();
    if (m_db && m_homeId > 0 && (m_assetId > 0 || m_assetId == Attachments::kHomeItself))
        m_stored = Attachments::pictureOf(*m_db, m_homeId, m_assetId);
    if (m_stored) {
        m_storedLine->setText(
            QStringLiteral("Shown from the data file: %1 (Attachments page). The file named "
                           "above is shown when no attachment is the picture.")
                .arg(m_stored->fileName));
    }
    m_storedLine->setVisible(m_stored.has_value());
}

QSize CDlgPicture::previewArea() const
{
    if (!m_storedLine->isVisibleTo(this))
        return size();
    return QSize(width(), std::max(0, height() - m_storedLine->sizeHint().height()));
}

bool CDlgPicture::fromControls()
{
    m_strPicture = m_path->text();
    return true;
}

QRect CDlgPicture::previewRectFor(QSize page, QSize picture)
{
    const int w = picture.width();
    const int h = picture.height();
    if (w <= 0 || h <= 0)
        return {};
    // At its own size below the path row; a picture bigger than the room left is squeezed into
    // it. (Measuring the picture's far corner from the page's corner instead of from the
    // picture's own top-left would squash every small picture by the row's height.)
    const int right = std::min(page.width() - kMargin, kMargin + w);
    const int bottom = std::min(page.height() - kMargin, kPictureTop + h);
    if (right <= kMargin || bottom <= kPictureTop)
        return {};
    return QRect(QPoint(kMargin, kPictureTop), QPoint(right - 1, bottom - 1));
}

void CDlgPicture::RefreshPreview()
{
    const QString path = m_path->text();
    if (m_stored) {
        // Decoded straight from the data file, piece by piece.
        const std::unique_ptr<Attachments::Reader> bytes =
            Attachments::Reader::open(*m_db, m_stored->id);
        if (!bytes || !m_image.Load(*bytes))
            m_image = CImageFile();
    } else if (path.isEmpty()) {
        m_image = CImageFile();
    } else {
        m_image.Load(path);
    }
    m_previewRect = previewRectFor(previewArea(), m_image.Size());
    update();
}

void CDlgPicture::resizeEvent(QResizeEvent *event)
{
    CPropertyPage::resizeEvent(event);
    m_previewRect = previewRectFor(previewArea(), m_image.Size());
}

void CDlgPicture::paintEvent(QPaintEvent *)
{
    if (m_previewRect.isEmpty() || !m_image.IsLoaded())
        return;
    QPainter painter(this);
    m_image.Draw(painter, m_previewRect.left(), m_previewRect.top(), m_previewRect.right() + 1,
                 m_previewRect.bottom() + 1);
}

void CDlgPicture::onBrowse()
{
    const QString chosen =
        Ui::openFileName(this, QString(), QString(),
                         QStringLiteral("Image Files (*.gif *.jpg *.bmp);;All Files (*)"));
    if (chosen.isEmpty())
        return;
    m_path->setText(chosen);
    RefreshPreview();
}

void CDlgPicture::onView()
{
    if (m_stored) {
        Attachments::open(this, *m_db, *m_stored);
        return;
    }
    const QString path = m_path->text();
    if (path.isEmpty()) {
        Ui::messageBox(this, QStringLiteral("Please select a picture first."),
                       QStringLiteral("View Picture"), Ui::Icon::Warning, Ui::Ok);
        return;
    }
    Ui::openUrl(QUrl::fromLocalFile(path));
}
