#pragma once

#include <QString>

// Every message box, question and file dialog of the program goes through
// this service, so tests can answer them and read what was shown.
class PromptService {
public:
    enum class Icon { None, Information, Warning, Error, Question };
    enum class Answer { Yes, No, Cancel };

    virtual ~PromptService() = default;
    virtual void message(const QString& text, const QString& title, Icon icon) = 0;
    // Yes/No (and Cancel when withCancel) question; defaultNo preselects No.
    virtual Answer question(const QString& text, const QString& title, bool defaultNo,
                            bool withCancel) = 0;
    // Empty result means the user cancelled.
    virtual QString openFileName(const QString& caption, const QString& filter) = 0;
    virtual QString saveFileName(const QString& caption, const QString& filter,
                                 const QString& suggested) = 0;

    void info(const QString& text, const QString& title = QStringLiteral("提示")) {
        message(text, title, Icon::Information);
    }
    void error(const QString& text, const QString& title = QStringLiteral("提示")) {
        message(text, title, Icon::Error);
    }
    void warning(const QString& text, const QString& title = QStringLiteral("提示")) {
        message(text, title, Icon::Warning);
    }
};
