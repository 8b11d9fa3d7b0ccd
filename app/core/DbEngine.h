#pragma once

// The database engines the program runs on.
enum class DbEngine { Sqlite, Postgres, SqlServer };
