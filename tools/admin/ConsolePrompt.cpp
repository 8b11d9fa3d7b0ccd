#include "ConsolePrompt.h"

void ConsolePrompt::message(const QString& text, const QString&, Icon) {
    *err_ += text + "\n";
}

PromptService::Answer ConsolePrompt::question(const QString& text, const QString&, bool, bool) {
    *err_ += text + " -> No\n";
    return Answer::No;
}
