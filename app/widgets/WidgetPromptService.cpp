#include "WidgetPromptService.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon boxIcon(PromptService::Icon icon) {
    switch (icon) {
    case PromptService::Icon::Information:
        return QMessageBox::Information;
    case PromptService::Icon::Warning:
        return QMessageBox::Warning;
    case PromptService::Icon::Error:
        return QMessageBox::Critical;
    case PromptService::Icon::Question:
        return QMessageBox::Question;
    case PromptService::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void WidgetPromptService::message(const QString& text, const QString& title, Icon icon) {
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

PromptService::Answer WidgetPromptService::question(const QString& text, const QString& title,
                                                    bool defaultNo, bool withCancel) {
    auto buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, title, text, buttons, QApplication::activeWindow());
    box.setDefaultButton(defaultNo ? QMessageBox::No : QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QString WidgetPromptService::openFileName(const QString& caption, const QString& filter) {
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, QString(), filter);
}

QString WidgetPromptService::saveFileName(const QString& caption, const QString& filter,
                                          const QString& suggested) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, suggested, filter);
}
