#pragma once

class Clock;
class DesktopOpener;
class PromptService;
class RandomSource;
class Waiter;

// The process-wide services behind which the program keeps everything a test
// must control: dialogs, the desktop, the clock, the random source and waits.
// The program installs the real ones at start; tests install their own. The
// setters take no ownership; nullptr restores the built-in default.
class Services {
public:
    static PromptService& prompt();
    static DesktopOpener& desktop();
    static Clock& clock();
    static RandomSource& random();
    static Waiter& waiter();

    static void setPrompt(PromptService* s);
    static void setDesktop(DesktopOpener* s);
    static void setClock(Clock* s);
    static void setRandom(RandomSource* s);
    static void setWaiter(Waiter* s);
};
