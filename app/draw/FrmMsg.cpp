#include "FrmMsg.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

TFormMsg::TFormMsg(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      lblMsg(new QLabel(kInitialCaption, this)), pb1(new QProgressBar(this)) {
    setObjectName("FormMsg");
    lblMsg->setObjectName("lblMsg");
    lblMsg->setAlignment(Qt::AlignCenter);
    pb1->setObjectName("pb1");
    pb1->setRange(0, 0);
    pb1->setValue(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblMsg);
    layout->addWidget(pb1);
    setFixedSize(360, 90);
}

void TFormMsg::begin() {
    lblMsg->setText(kInitialCaption);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    QApplication::processEvents();
}

void TFormMsg::setMaximum(int maximum) {
    pb1->setRange(0, std::max(maximum, 0));
    pb1->setValue(0);
}

void TFormMsg::step() {
    // A demand whose sum could not be read gets a guessed maximum: grow it
    // rather than let the bar stop short of the experts drawn.
    const int position = std::max(pb1->value(), 0) + 1;
    if (position > pb1->maximum())
        pb1->setMaximum(position);
    pb1->setValue(position);
    lblMsg->setText(QStringLiteral("已抽取%1名专家").arg(position));
    QApplication::processEvents();
}

void TFormMsg::end() {
    close();
}
