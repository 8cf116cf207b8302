#include "ui/TDynaMessageBoxDlg.h"

#include "ui/MessageTable.h"
#include "ui/TGFocusButton.h"
#include "ui/TGText.h"
#include "ui/WindowDragger.h"

#include <QLabel>
#include <QPainter>
#include <QStyle>

#include <array>

namespace {

const QColor kBackground(160, 160, 168);
const QColor kPanel(192, 192, 192);
const QColor kTitleStrip(72, 64, 95);
const QColor kTitleText(216, 208, 199);
const QColor kGrey(128, 128, 128);
constexpr int kTitleHeight = 44;
constexpr int kKindColumn = 44;
constexpr int kBottomStrip = 40;
constexpr int kMargin = 6;

QStyle::StandardPixmap kindIcon(std::uint8_t kind)
{
    static constexpr std::array<QStyle::StandardPixmap, 4> kIcons = {
        QStyle::SP_MessageBoxWarning, QStyle::SP_MessageBoxCritical, QStyle::SP_MessageBoxInformation,
        QStyle::SP_MessageBoxQuestion};
    return kind < kIcons.size() ? kIcons[kind] : QStyle::SP_MessageBoxInformation;
}

QFont arial(int points)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(points);
    return font;
}

TextButtonAppearance buttonAppearance(QColor kindColour)
{
    TextButtonAppearance look;
    look.Color = kGrey;
    look.ColorDown = kGrey;
    look.ColorHot = kPanel;
    look.FontHotColor = kindColour;
    look.FrameHotColor = kindColour;
    look.FrameDownColor = QColor(0, 0, 0);
    look.FrameFocusColor = QColor(0, 0, 0);
    return look;
}

} // namespace

TDynaMessageBoxDlg::TDynaMessageBoxDlg(int width, int height, std::uint8_t kind, std::uint16_t buttons,
                                       const QString &text, const QString &caption, const QString &kindWord,
                                       std::function<void()> help, QWidget *parent)
    : MessageDialogBase(buttons, parent)
    , LabelCaption(new QLabel(this))
    , LabelText(nullptr)
    , ImageIcon(new QLabel(this))
    , TextKind(new TGText(this))
    , PanelInner(new QWidget(this))
    , m_help(std::move(help))
{
    setObjectName(QStringLiteral("TDynaMessageBoxDlg"));
    setWindowTitle(caption);
    const QList<int> shown = messageButtonsIn(buttons);
    const QSize client = dynaBoxClientSize(width, height, int(shown.size()));
    setFixedSize(client);
    const QColor kindColour = messageKindColour(kind);

    ImageIcon->setObjectName(QStringLiteral("ImageIcon"));
    ImageIcon->setGeometry(10, 6, 32, 32);
    ImageIcon->setPixmap(style()->standardIcon(kindIcon(kind)).pixmap(32, 32));

    LabelCaption->setObjectName(QStringLiteral("LabelCaption"));
    LabelCaption->setGeometry(50, 0, client.width() - 50 - kMargin, kTitleHeight);
    LabelCaption->setFont(arial(14));
    LabelCaption->setTextFormat(Qt::PlainText);
    LabelCaption->setText(caption);
    LabelCaption->setStyleSheet(QStringLiteral("color: %1;").arg(kTitleText.name()));

    const int bodyTop = kTitleHeight + kMargin;
    const int bodyHeight = client.height() - bodyTop - kBottomStrip;
    TextKind->setObjectName(QStringLiteral("TextKind"));
    TextKind->setGeometry(0, bodyTop, kKindColumn, bodyHeight);
    TextKind->setFont(arial(26));
    TextKind->setTransparent(true);
    TextKind->setFontColor(kindColour);
    TextKind->setAngle(90);
    TextKind->setOrigin(QPoint(2, bodyHeight - 2));
    TextKind->setCaption(QLatin1Char(' ') + kindWord);
    TextKind->setAttribute(Qt::WA_TransparentForMouseEvents);

    PanelInner->setObjectName(QStringLiteral("PanelInner"));
    PanelInner->setGeometry(kKindColumn, bodyTop, client.width() - kKindColumn - kMargin, bodyHeight);
    PanelInner->setAutoFillBackground(true);
    QPalette panelPalette = PanelInner->palette();
    panelPalette.setColor(QPalette::Window, kPanel);
    PanelInner->setPalette(panelPalette);
    new WindowDragger(PanelInner);

    LabelText = new QLabel(PanelInner);
    LabelText->setObjectName(QStringLiteral("LabelText"));
    LabelText->setGeometry(PanelInner->rect().adjusted(kMargin, kMargin, -kMargin, -kMargin));
    LabelText->setFont(arial(10));
    LabelText->setWordWrap(true);
    LabelText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabelText->setTextFormat(Qt::PlainText);
    LabelText->setText(messageDisplayText(text));
    LabelText->setStyleSheet(QStringLiteral("color: black;"));
    LabelText->setAttribute(Qt::WA_TransparentForMouseEvents);

    const TextButtonAppearance look = buttonAppearance(kindColour);
    for (qsizetype position = 0; position < shown.size(); ++position)
        addButton(shown[position], dynaBoxButtonRect(int(position), int(shown.size()), client), look);
    centreOnScreen();
}

void TDynaMessageBoxDlg::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    painter.fillRect(QRect(0, 0, width(), kTitleHeight), kTitleStrip);
}

void TDynaMessageBoxDlg::helpPressed()
{
    if (m_help)
        m_help();
}
