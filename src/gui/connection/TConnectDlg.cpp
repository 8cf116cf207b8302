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
    , CutTransImage1(new TCutTransImage(this))
    , Label2(new QLabel(QStringLiteral("name of connection"), this))
    , GIFAnimation(new QLabel(this))
    , ListBox1(new QListWidget(this))
    , GTabButton1(new TGTabButton(this))
{
    setObjectName(QStringLiteral("TConnectDlg"));
    setFixedSize(Layout::kSize);
    CutTransImage1->setTransColor(QColor::fromRgb(SkinLayout::kKey));
    CutTransImage1->loadSkin(QString::fromLatin1(SkinImages::kConnection.image));

    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(Layout::Label2);
    Label2->setTextFormat(Qt::PlainText);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setFont(SkinLook::font(14, true));
    Label2->setStyleSheet(
        QStringLiteral("color: %1; background: transparent;").arg(QColor::fromRgb(SkinLayout::kDarkText).name()));

    GIFAnimation->setObjectName(QStringLiteral("GIFAnimation"));
    GIFAnimation->setGeometry(Layout::GIFAnimation);
    GIFAnimation->setToolTip(kCancelHint);
    GIFAnimation->installEventFilter(this);
    const QString animation = SkinLibrary::skinFile(QString::fromLatin1(SkinImages::kConnectingAnimation));
    if (!animation.isEmpty()) {
        m_movie = new QMovie(animation, QByteArray(), this);
        GIFAnimation->setMovie(m_movie);
    }

    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(Layout::ListBox1);
    ListBox1->setFocusPolicy(Qt::NoFocus);
    // An error is read whole, wrapped to the list's width, never cut behind
    // a sideways scrollbar.
    ListBox1->setWordWrap(true);
    ListBox1->setTextElideMode(Qt::ElideNone);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->setResizeMode(QListView::Adjust);
    ListBox1->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    // A read-only field of the look: dark text in a white well.
    ListBox1->setStyleSheet(
        QStringLiteral("QListWidget { background: %1; color: %2; border: 1px solid %3; border-radius: 4px;"
                       " font-weight: bold; }")
            .arg(QColor::fromRgb(Look::kField).name(), QColor::fromRgb(Look::kValueText).name(),
                QColor::fromRgb(Look::kFieldBorder).name()));

    GTabButton1->setObjectName(QStringLiteral("GTabButton1"));
    GTabButton1->setGeometry(Layout::GTabButton1);
    GTabButton1->setTransparentColor(QColor::fromRgb(SkinLayout::kKey));
    GTabButton1->setToolTip(kCancelHint);
    connect(GTabButton1, &TGTabButton::clicked, this, &TConnectDlg::cancelRequested);
}

void TConnectDlg::showProgress(const QString &entry)
{
    setElidedText(Label2, entry);
    ListBox1->clear();
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
    ListBox1->ensurePolished();
    QFont font = ListBox1->font();
    font.setBold(true);
    // Worked out for the narrowest the text can be (a scrollbar shown), so
    // the height never falls short.
    constexpr int kTextMargins = 8;
    const int width = ListBox1->width() - 2 * ListBox1->frameWidth() - ListBox1->verticalScrollBar()->sizeHint().width()
        - kTextMargins;
    const QRect wrapped
        = QFontMetrics(font).boundingRect(QRect(0, 0, width, 10000), Qt::TextWordWrap | Qt::AlignLeft, line);
    auto *item = new QListWidgetItem(line, ListBox1);
    item->setSizeHint(QSize(width, wrapped.height() + 2));
    ListBox1->scrollToBottom();
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
    if (watched == GIFAnimation && event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        emit cancelRequested();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
