#pragma once

#include <QObject>
#include <functional>

class QLineEdit;
class QWidget;

// The data-entry habit of the office's forms: Enter moves to the next
// control (unless a box is bound to a button), and the box being typed in
// shows on the tool-tip colour.
class EditNavigator : public QObject {
    Q_OBJECT
public:
    explicit EditNavigator(QObject* parent);
    // Enter moves the focus on to the next control.
    void addBox(QLineEdit* box);
    // Enter runs the handler instead (the box's default button).
    void addBox(QLineEdit* box, std::function<void()> onEnter);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void highlight(QLineEdit* box, bool focused);
};
