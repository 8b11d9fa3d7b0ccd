#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

// Lets a borderless window be moved by dragging any of the given widgets.
class WindowDragger : public QObject {
    Q_OBJECT
public:
    explicit WindowDragger(QWidget* window);
    void addHandle(QWidget* handle);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    QPoint grabOffset_;
    bool dragging_ = false;
};
