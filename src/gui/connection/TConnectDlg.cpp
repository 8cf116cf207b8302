#include "gui/connection/TConnectDlg.h"

#include "core/skins/SkinImages.h"
#include "core/skins/SkinLayout.h"
#include "core/skins/SkinLibrary.h"
#include "gui/controls/ElidedText.h"
#include "gui/controls/SkinLook.h"
#include "gui/controls/TCutTransImage.h"
#include "gui/controls/TGTabButton.h"

#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QMovie>
#include <QScreen>
#include <QScrollBar>

namespace {

namespace Layout = SkinLayout::ConnectDialog;

const QString kCancelHint = QStringLiteral("Click to hangup and cancel the connection");

} // namespace

TConnectDlg::TConnectDlg(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , background(new TCutTransImage(this))
    , entryName(new QLabel(QStringLiteral("name of connection"), this))
    , animationLabel(new QLabel(this))
    , statusLines(new QListWidget(this))
    , cancelButton(new TGTabButton(this))
{
    setObjectName(QStringLiteral("TConnectDlg"));
    setFixedSize(Layout::kSize);
    background->setTransColor(QColor::fromRgb(SkinLayout::kKey));
    background->loadSkin(QString::fromLatin1(SkinImages::kConnection.image));

    entryName->setObjectName(QStringLiteral("Label2"));
    entryName->setGeometry(Layout::ConnectionName);
    entryName->setTextFormat(Qt::PlainText);
    entryName->setAlignment(Qt::AlignCenter);
    entryName->setFont(SkinLook::font(14, true));
    entryName->setStyleSheet(
        QStringLiteral("color: %1; background: transparent;").arg(QColor::fromRgb(SkinLayout::kDarkText).name()));

    animationLabel->setObjectName(QStringLiteral("GIFAnimation"));
    animationLabel->setGeometry(Layout::GIFAnimation);
    animationLabel->setToolTip(kCancelHint);
    animationLabel->installEventFilter(this);
    const QString animationFile = SkinLibrary::skinFile(QString::fromLatin1(SkinImages::kConnectingAnimation));
    if (!animationFile.isEmpty()) {
        m_movie = new QMovie(animationFile, QByteArray(), this);
        animationLabel->setMovie(m_movie);
    }

    statusLines->setObjectName(QStringLiteral("ListBox1"));
    statusLines->setGeometry(Layout::ListBox1);
    statusLines->setFocusPolicy(Qt::NoFocus);
    // An error is read whole, wrapped to the list's width, never cut behind
    // a sideways scrollbar.
    statusLines->setWordWrap(true);
    statusLines->setTextElideMode(Qt::ElideNone);
    statusLines->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    statusLines->setResizeMode(QListView::Adjust);
    statusLines->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    // A read-only field of the look: dark text in a white well.
    statusLines->setStyleSheet(
        QStringLiteral("QListWidget { background: %1; color: %2; border: 1px solid %3; border-radius: 4px;"
                       " font-weight: bold; }")
            .arg(QColor::fromRgb(Look::kField).name(), QColor::fromRgb(Look::kValueText).name(),
                QColor::fromRgb(Look::kFieldBorder).name()));

    cancelButton->setObjectName(QStringLiteral("GTabButton1"));
    cancelButton->setGeometry(Layout::GTabButton1);
    cancelButton->setTransparentColor(QColor::fromRgb(SkinLayout::kKey));
    cancelButton->setToolTip(kCancelHint);
    connect(cancelButton, &TGTabButton::clicked, this, &TConnectDlg::cancelRequested);
}

void TConnectDlg::showProgress(const QString &entry)
{
    setElidedText(entryName, entry);
    statusLines->clear();
    if (m_movie)
        m_movie->start();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
}

void TConnectDlg::addLine(const QString &line)
{
    // The list's own guess at a wrapped line's height falls short, cutting
    // the end of a long reason off; the height is worked out here instead.
    statusLines->ensurePolished();
    QFont font = statusLines->font();
    font.setBold(true);
    // Worked out for the narrowest the text can be (a scrollbar shown), so
    // the height never falls short.
    constexpr int kTextMargins = 8;
    const int width = statusLines->width() - 2 * statusLines->frameWidth()
        - statusLines->verticalScrollBar()->sizeHint().width() - kTextMargins;
    const QRect wrapped
        = QFontMetrics(font).boundingRect(QRect(0, 0, width, 10000), Qt::TextWordWrap | Qt::AlignLeft, line);
    auto *item = new QListWidgetItem(line, statusLines);
    item->setSizeHint(QSize(width, wrapped.height() + 2));
    statusLines->scrollToBottom();
}

void TConnectDlg::endProgress()
{
    stopAnimation();
    hide();
}

void TConnectDlg::stopAnimation()
{
    if (m_movie)
        m_movie->stop();
}

bool TConnectDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == animationLabel && event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        emit cancelRequested();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
