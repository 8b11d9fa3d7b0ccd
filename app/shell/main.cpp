#include "DMsys.h"
#include "DesktopServicesOpener.h"
#include "FrmTouch.h"
#include "QtChinese.h"
#include "Services.h"
#include "WidgetPromptService.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QtChinese::install(app);
    WidgetPromptService prompt;
    DesktopServicesOpener desktop;
    Services::setPrompt(&prompt);
    Services::setDesktop(&desktop);

    TSysDM dataModule;
    QApplication::setApplicationName("Panelpick");
    QApplication::setApplicationDisplayName("Panelpick");

    TFormTouch touch;
    if (!touch.databaseOpened())
        return 1;
    touch.show();
    const int rc = QApplication::exec();
    Services::setPrompt(nullptr);
    Services::setDesktop(nullptr);
    return rc;
}
