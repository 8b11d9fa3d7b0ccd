#pragma once

#include "DMsys.h"
#include "DrawScenario.h"
#include "TestServices.h"

#include <gtest/gtest.h>
#include <memory>
#include <tuple>

inline DbEngine engineOf(DbEngine e) {
    return e;
}
template <class Case> DbEngine engineOf(const std::tuple<DbEngine, Case>& p) {
    return std::get<0>(p);
}

// A draw test on a fresh database of one engine, with the random source, the
// waits, the clock and the dialogs under the test's control.
template <class Param> class DrawTestOn : public ::testing::TestWithParam<Param> {
protected:
    void SetUp() override {
        const DbEngine engine = engineOf(this->GetParam());
        if (engine == DbEngine::Postgres && !TestDatabase::postgresAvailable())
            GTEST_SKIP() << "no PostgreSQL server (PANELPICK_TEST_PG)";
        s = std::make_unique<DrawScenario>(engine);
        ASSERT_TRUE(s->ok()) << s->error().toStdString();
    }
    TSysDM& dm() { return s->db().dm(); }

    TestServices services;
    std::unique_ptr<DrawScenario> s;
};

using DrawTest = DrawTestOn<DbEngine>;

inline std::string engineLabel(DbEngine e) {
    return TestDatabase::engineName(e).toStdString();
}

// Instantiates a table of cases on every engine; each case has a name.
#define PANELPICK_CASES_ON_EVERY_ENGINE(Suite, cases)                                              \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        Engines, Suite,                                                                            \
        ::testing::Combine(::testing::Values(DbEngine::Sqlite, DbEngine::Postgres),                \
                           ::testing::ValuesIn(cases)),                                            \
        [](const auto& info) {                                                                     \
            return engineLabel(std::get<0>(info.param)) + "_" + std::get<1>(info.param).name;      \
        })

#ifndef PANELPICK_ON_EVERY_ENGINE
#define PANELPICK_ON_EVERY_ENGINE(Suite)                                                           \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite,                                                       \
                             ::testing::Values(DbEngine::Sqlite, DbEngine::Postgres),              \
                             [](const auto& info) { return engineLabel(info.param); })
#endif
