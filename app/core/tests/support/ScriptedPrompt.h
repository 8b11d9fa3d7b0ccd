#pragma once

#include "PromptService.h"

#include <QList>
#include <QString>
#include <QStringList>

// Answers dialogs from a script and records every text shown; installed as
// the prompt service for the object's lifetime.
class ScriptedPrompt : public PromptService {
public:
    struct Shown {
        QString text;
        QString title;
        Icon icon;
    };

    ScriptedPrompt();
    ~ScriptedPrompt() override;

    void message(const QString& text, const QString& title, Icon icon) override;
    Answer question(const QString& text, const QString& title, bool defaultNo,
                    bool withCancel) override;
    QString openFileName(const QString& caption, const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& filter,
                         const QString& suggested) override;

    // Queued answers; an unscripted question is answered No.
    QList<Answer> answers;
    QStringList fileNames;
    QList<Shown> shown;

    QStringList texts() const;
    QString last() const { return shown.isEmpty() ? QString() : shown.last().text; }
};
