#pragma once

#include "TestDatabase.h"

#include <gtest/gtest.h>
#include <memory>

// A test run once on SQLite and once on PostgreSQL, each time on a fresh
// delivered database that is the data module's shared connection.
class EngineTest : public ::testing::TestWithParam<DbEngine> {
protected:
    void SetUp() override {
        if (GetParam() == DbEngine::Postgres && !TestDatabase::postgresAvailable())
            GTEST_SKIP() << "no PostgreSQL server (PANELPICK_TEST_PG)";
        db = std::make_unique<TestDatabase>(GetParam());
        ASSERT_TRUE(db->ok()) << db->error().toStdString();
    }
    std::unique_ptr<TestDatabase> db;
};

#define PANELPICK_ON_EVERY_ENGINE(Suite)                                                           \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        Engines, Suite, ::testing::Values(DbEngine::Sqlite, DbEngine::Postgres),                   \
        [](const auto& info) { return TestDatabase::engineName(info.param).toStdString(); })
