#include "gui/messages/TDynaMessageBoxDlg.h"

#include "core/skins/SkinLayout.h"
#include "core/windowlogic/MessageTable.h"
#include "gui/controls/ElidedText.h"
#include "gui/controls/SkinLook.h"
#include "gui/controls/TGFocusButton.h"
#include "gui/controls/TGText.h"
#include "gui/controls/WindowDragger.h"

#include <QLabel>
#include <QPainter>

#include <array>

namespace {

// Drawn as the skin's message pictures are, but with nothing taken from the
// skin: a light body with a strip of the kind's colour down its left edge,
// the text in a white well.
const QColor kBodyTop(240, 243, 247);
const QColor kBodyBottom(230, 234, 240);
const QColor kOutline(14, 19, 26);
const QColor kWell(252, 253, 254);
const QColor kWellBorder(192, 200, 212);
constexpr int kStrip = 6;
constexpr int kTitleHeight = 44;
constexpr int kKindColumn = 44;
constexpr int kBottomStrip = 40;
constexpr int kMargin = 6;
constexpr int kTextMargin = 10;

// A disc in the kind's colour with its sign, drawn here so that the box
// looks the same on every desktop.
QPixmap kindIcon(std::uint8_t kind, const QColor &colour)
{
    static constexpr std::array<char16_t, 4> kSigns = { u'!', u'\u00d7', u'i', u'?' };
    const QChar sign(kind < kSigns.size() ? kSigns[kind] : u'i');
    QPixmap icon(32, 32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.darker(125), 1));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(1.5, 1.5, 29, 29));
    painter.setPen(Qt::white);
    painter.setFont(SkinLook::font(sign == QChar(0x00d7) ? 26 : 20, true));
    painter.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, QString(sign));
    return icon;
}

// The kind's colour of the message pictures, for the strip and the disc.
QColor kindAccent(std::uint8_t kind)
{
    const auto &colours = SkinLayout::MessageDialog::kKindColours;
    return QColor::fromRgb(kind < std::size(colours) ? colours[kind] : colours[2]);
}

} // namespace

TDynaMessageBoxDlg::TDynaMessageBoxDlg(int width, int height, std::uint8_t kind, std::uint16_t buttons,
    const QString &text, const QString &caption, const QString &kindWord, std::function<void()> help, QWidget *parent)
    : MessageDialogBase(buttons, parent)
    , LabelCaption(new QLabel(this))
    , LabelText(nullptr)
    , ImageIcon(new QLabel(this))
    , TextKind(new TGText(this))
    , PanelInner(new QWidget(this))
    , m_help(std::move(help))
    , m_accent(kindAccent(kind))
{
    setObjectName(QStringLiteral("TDynaMessageBoxDlg"));
    setWindowTitle(caption);
    const QList<int> shown = messageButtonsIn(buttons);
    const QColor kindColour = messageKindColour(kind);
    const QFont textFont = SkinLook::font(14);
    const QFont kindFont = SkinLook::font(34);
    const QString kindCaption = QLatin1Char(' ') + kindWord;

    // The width is the caller's; the height is what the text and the upright
    // kind word need, so a short message is not lost in an empty box.
    const int wide = dynaBoxClientSize(width, height, int(shown.size())).width();
    const int textWidth = wide - kKindColumn - kMargin - 2 * kTextMargin;
    const QString shownText = breakableText(messageDisplayText(text), textFont, textWidth);
    const int textHeight
        = QFontMetrics(textFont).boundingRect(QRect(0, 0, textWidth, 100000), Qt::TextWordWrap, shownText).height();
    const int kindHeight = QFontMetrics(kindFont).horizontalAdvance(kindCaption) + 4;
    const int bodyHeight = std::max(textHeight + 2 * kTextMargin, kindHeight);
    const QSize client = dynaBoxClientSize(wide, kTitleHeight + kMargin + bodyHeight + kBottomStrip, int(shown.size()));
    setFixedSize(client);

    ImageIcon->setObjectName(QStringLiteral("ImageIcon"));
    ImageIcon->setGeometry(10, 6, 32, 32);
    ImageIcon->setPixmap(kindIcon(kind, m_accent));

    QPalette dark = palette();
    dark.setColor(QPalette::WindowText, QColor::fromRgb(SkinLayout::kDarkText));
    LabelCaption->setObjectName(QStringLiteral("LabelCaption"));
    LabelCaption->setGeometry(50, 0, client.width() - 50 - kMargin, kTitleHeight);
    LabelCaption->setFont(SkinLook::font(18, true));
    LabelCaption->setTextFormat(Qt::PlainText);
    LabelCaption->setPalette(dark);
    setElidedText(LabelCaption, caption);

    const int bodyTop = kTitleHeight + kMargin;
    const int wellHeight = client.height() - bodyTop - kBottomStrip;
    TextKind->setObjectName(QStringLiteral("TextKind"));
    TextKind->setGeometry(kStrip, bodyTop, kKindColumn - kStrip, wellHeight);
    TextKind->setFont(kindFont);
    TextKind->setTransparent(true);
    TextKind->setFontColor(kindColour);
    TextKind->setAngle(90);
    TextKind->setOrigin(QPoint(2, wellHeight - 2));
    TextKind->setCaption(kindCaption);
    TextKind->setAttribute(Qt::WA_TransparentForMouseEvents);

    // The well is painted by the box; the panel over it drags the box.
    PanelInner->setObjectName(QStringLiteral("PanelInner"));
    PanelInner->setGeometry(kKindColumn, bodyTop, client.width() - kKindColumn - kMargin, wellHeight);
    new WindowDragger(PanelInner);

    LabelText = new QLabel(PanelInner);
    LabelText->setObjectName(QStringLiteral("LabelText"));
    LabelText->setGeometry(PanelInner->rect().adjusted(kTextMargin, kTextMargin, -kTextMargin, -kTextMargin));
    LabelText->setFont(textFont);
    LabelText->setWordWrap(true);
    LabelText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabelText->setTextFormat(Qt::PlainText);
    LabelText->setText(shownText);
    LabelText->setPalette(dark);
    LabelText->setAttribute(Qt::WA_TransparentForMouseEvents);

    const TextButtonAppearance look = SkinLook::textButton();
    for (qsizetype position = 0; position < shown.size(); ++position)
        addButton(shown[position], dynaBoxButtonRect(int(position), int(shown.size()), client), look)
            ->setFont(Look::buttonFont(Look::ButtonSize::Large));
    centreOnScreen();
}

void TDynaMessageBoxDlg::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient body(0, 0, 0, height());
    body.setColorAt(0, kBodyTop);
    body.setColorAt(1, kBodyBottom);
    painter.fillRect(rect(), body);
    painter.fillRect(QRect(0, 0, kStrip, height()), m_accent);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(kWellBorder);
    painter.setBrush(kWell);
    painter.drawRoundedRect(QRectF(PanelInner->geometry()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(kOutline);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TDynaMessageBoxDlg::helpPressed()
{
    if (m_help)
        m_help();
}
