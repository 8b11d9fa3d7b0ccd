#include "WindowDragger.h"

#include <QMouseEvent>
#include <QWidget>

WindowDragger::WindowDragger(QWidget* window) : QObject(window), window_(window) {
    addHandle(window);
}

void WindowDragger::addHandle(QWidget* handle) {
    handle->installEventFilter(this);
}

bool WindowDragger::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton) {
            dragging_ = true;
            grabOffset_ = e->globalPosition().toPoint() - window_->frameGeometry().topLeft();
        }
        break;
    }
    case QEvent::MouseMove:
        if (dragging_)
            window_->move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() -
                          grabOffset_);
        break;
    case QEvent::MouseButtonRelease:
        dragging_ = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
