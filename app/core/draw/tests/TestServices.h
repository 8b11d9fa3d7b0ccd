#pragma once

#include "Clock.h"
#include "DrawProgress.h"
#include "RandomSource.h"
#include "ScriptedPrompt.h"
#include "Services.h"
#include "Waiter.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <vector>

// Random source that answers from a script (then 0), recording each range
// asked. A draw that asks for an empty range, or a script that names an index
// outside the range asked, fails the test: a silent correction would hide a
// draw that asks for the wrong range.
class ScriptedRandomSource : public RandomSource {
public:
    std::uint32_t below(std::uint32_t n) override {
        asked.push_back(n);
        if (n == 0) {
            ADD_FAILURE() << "a draw asked for a random index of an empty pool";
            return 0;
        }
        if (script.empty())
            return 0;
        const std::uint32_t v = script.front();
        script.pop_front();
        if (v >= n) {
            ADD_FAILURE() << "scripted index " << v << " is outside the range 0.." << n - 1
                          << " the draw asked for";
            return 0;
        }
        return v;
    }
    std::deque<std::uint32_t> script;
    std::vector<std::uint32_t> asked;
};

// Deterministic uniform source for the statistical tests.
class SeededRandomSource : public RandomSource {
public:
    explicit SeededRandomSource(std::uint32_t seed) : gen_(seed) {}
    std::uint32_t below(std::uint32_t n) override {
        return std::uniform_int_distribution<std::uint32_t>(0, n - 1)(gen_);
    }

private:
    std::mt19937 gen_;
};

// Records every wait; duringWait, when set, runs inside each one, as the
// event loop would run a window's handlers while a draw paces itself.
class RecordingWaiter : public Waiter {
public:
    void wait(int ms) override {
        waits.push_back(ms);
        if (duringWait)
            duringWait(ms);
    }
    std::vector<int> waits;
    std::function<void(int)> duringWait;
};

class FixedClock : public Clock {
public:
    QDateTime now() const override { return at; }
    QDateTime at = QDateTime(QDate(2026, 5, 1), QTime(8, 30));
};

class RecordingProgress : public DrawProgress {
public:
    void begin() override { calls << "begin"; }
    void setMaximum(int m) override { calls << QStringLiteral("max %1").arg(m); }
    void step() override { calls << "step"; }
    void end() override { calls << "end"; }
    QStringList calls;
};

// Installs the test doubles for the object's lifetime.
struct TestServices {
    TestServices() {
        Services::setRandom(&random);
        Services::setWaiter(&waiter);
        Services::setClock(&clock);
    }
    ~TestServices() {
        Services::setRandom(nullptr);
        Services::setWaiter(nullptr);
        Services::setClock(nullptr);
    }
    ScriptedRandomSource random;
    RecordingWaiter waiter;
    FixedClock clock;
    ScriptedPrompt prompt;
};
