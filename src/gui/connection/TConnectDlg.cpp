#include "connection/TConnectDlg.h"

#include "ui/TCutTransImage.h"
#include "ui/WindowOutline.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TConnectDlg::TConnectDlg(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , CutTransImage1(new TCutTransImage(this))
    , Label2(new QLabel(QStringLiteral("name of connection"), this))
    , ListBox1(new QListWidget(this))
    , GTabButton1(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("TConnectDlg"));
    Label2->setObjectName(QStringLiteral("Label2"));
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setStyleSheet(QStringLiteral("background: black; color: white; font-weight: bold;"));
    GTabButton1->setObjectName(QStringLiteral("GTabButton1"));
    GTabButton1->setToolTip(QStringLiteral("Click to hangup and cancel the connection"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label2);
    layout->addWidget(ListBox1);
    layout->addWidget(GTabButton1);
    connect(GTabButton1, &QPushButton::clicked, this, &TConnectDlg::cancelRequested);
    resize(300, 220);
    CutTransImage1->setTransColor(QColor::fromRgb(kSkinKeyColour));
    CutTransImage1->loadSkin(QStringLiteral("connection"));
}
