#include "Services.h"

#include "Clock.h"
#include "DesktopOpener.h"
#include "PromptService.h"
#include "SecureRandomSource.h"
#include "Waiter.h"

#include <QDebug>
#include <QEventLoop>
#include <QTimer>

namespace {

// Without a window system nothing can be asked: the text goes to the log and
// every question is answered No.
class LoggingPrompt : public PromptService {
public:
    void message(const QString& text, const QString& title, Icon) override {
        qWarning().noquote() << title << ":" << text;
    }
    Answer question(const QString& text, const QString& title, bool, bool) override {
        qWarning().noquote() << title << ":" << text << "-> No";
        return Answer::No;
    }
    QString openFileName(const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
};

class NoDesktop : public DesktopOpener {
public:
    bool open(const QString& path) override {
        qWarning().noquote() << "cannot open" << path << "without a desktop";
        return false;
    }
};

class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class EventLoopWaiter : public Waiter {
public:
    void wait(int ms) override {
        if (ms <= 0)
            return;
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }
};

LoggingPrompt defaultPrompt;
NoDesktop defaultDesktop;
SystemClock defaultClock;
SecureRandomSource defaultRandom;
EventLoopWaiter defaultWaiter;

PromptService* promptService = nullptr;
DesktopOpener* desktopOpener = nullptr;
Clock* clockService = nullptr;
RandomSource* randomSource = nullptr;
Waiter* waiterService = nullptr;

} // namespace

PromptService& Services::prompt() {
    return promptService ? *promptService : defaultPrompt;
}
DesktopOpener& Services::desktop() {
    return desktopOpener ? *desktopOpener : defaultDesktop;
}
Clock& Services::clock() {
    return clockService ? *clockService : defaultClock;
}
RandomSource& Services::random() {
    return randomSource ? *randomSource : defaultRandom;
}
Waiter& Services::waiter() {
    return waiterService ? *waiterService : defaultWaiter;
}

void Services::setPrompt(PromptService* s) {
    promptService = s;
}
void Services::setDesktop(DesktopOpener* s) {
    desktopOpener = s;
}
void Services::setClock(Clock* s) {
    clockService = s;
}
void Services::setRandom(RandomSource* s) {
    randomSource = s;
}
void Services::setWaiter(Waiter* s) {
    waiterService = s;
}
