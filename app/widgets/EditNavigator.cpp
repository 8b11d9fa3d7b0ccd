#include "EditNavigator.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QToolTip>

EditNavigator::EditNavigator(QObject* parent) : QObject(parent) {}

void EditNavigator::addBox(QLineEdit* box) {
    box->installEventFilter(this);
    connect(box, &QLineEdit::returnPressed, box,
            [box] { box->nextInFocusChain()->setFocus(Qt::TabFocusReason); });
}

void EditNavigator::addBox(QLineEdit* box, std::function<void()> onEnter) {
    box->installEventFilter(this);
    connect(box, &QLineEdit::returnPressed, box, std::move(onEnter));
}

void EditNavigator::highlight(QLineEdit* box, bool focused) {
    QPalette p = box->palette();
    p.setColor(QPalette::Base,
               focused ? QToolTip::palette().color(QPalette::ToolTipBase) : QColor(Qt::white));
    box->setPalette(p);
}

bool EditNavigator::eventFilter(QObject* watched, QEvent* event) {
    if (auto* box = qobject_cast<QLineEdit*>(watched)) {
        if (event->type() == QEvent::FocusIn)
            highlight(box, true);
        else if (event->type() == QEvent::FocusOut)
            highlight(box, false);
    }
    return QObject::eventFilter(watched, event);
}
