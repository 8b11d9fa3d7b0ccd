#pragma once

class QCoreApplication;

// The program speaks Chinese whatever the machine's locale: Qt's own texts
// (the buttons of message boxes, file dialogs, the edit menus of text boxes)
// come from Qt's simplified-Chinese translation.
class QtChinese {
public:
    // False when the translation is not installed (the texts stay English).
    static bool install(QCoreApplication& app);
};
