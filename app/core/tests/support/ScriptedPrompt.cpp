#include "ScriptedPrompt.h"

#include "Services.h"

ScriptedPrompt::ScriptedPrompt() {
    Services::setPrompt(this);
}
ScriptedPrompt::~ScriptedPrompt() {
    Services::setPrompt(nullptr);
}

void ScriptedPrompt::message(const QString& text, const QString& title, Icon icon) {
    shown.append({text, title, icon});
}

PromptService::Answer ScriptedPrompt::question(const QString& text, const QString& title, bool,
                                               bool) {
    shown.append({text, title, Icon::Question});
    return answers.isEmpty() ? Answer::No : answers.takeFirst();
}

QString ScriptedPrompt::openFileName(const QString& caption, const QString&) {
    shown.append({caption, caption, Icon::None});
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QString ScriptedPrompt::saveFileName(const QString& caption, const QString&, const QString&) {
    shown.append({caption, caption, Icon::None});
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QStringList ScriptedPrompt::texts() const {
    QStringList out;
    for (const Shown& s : shown)
        out << s.text;
    return out;
}
