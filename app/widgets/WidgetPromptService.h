#pragma once

#include "PromptService.h"

// Message boxes and file dialogs of the running program.
class WidgetPromptService : public PromptService {
public:
    void message(const QString& text, const QString& title, Icon icon) override;
    Answer question(const QString& text, const QString& title, bool defaultNo,
                    bool withCancel) override;
    QString openFileName(const QString& caption, const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& filter,
                         const QString& suggested) override;
};
