#pragma once

#include "PromptService.h"

#include <QString>

// The prompt service of a command-line tool: every message goes to the
// error text, every question is answered No (nothing is decided for the
// user), and no file is chosen.
class ConsolePrompt : public PromptService {
public:
    explicit ConsolePrompt(QString* err) : err_(err) {}

    void message(const QString& text, const QString& title, Icon icon) override;
    Answer question(const QString& text, const QString& title, bool defaultNo,
                    bool withCancel) override;
    QString openFileName(const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }

private:
    QString* err_;
};
