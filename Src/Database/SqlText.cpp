#include "Database/SqlText.hpp"

#include <cmath>

#include <SQLiteCpp/SQLiteCpp.h>

#include "Database/ProjectDatabase.hpp"

GS::Int32 QueryFirstInt(SQLite::Statement& statement)
{
    if (!statement.executeStep())
        return 0;
    return statement.getColumn(0).getInt();
}

double QueryFirstDouble(SQLite::Statement& statement)
{
    if (!statement.executeStep())
        return 0.0;
    return statement.getColumn(0).getDouble();
}

bool RowExists(const char* table, GS::Int32 id)
{
    SQLite::Statement query =
        ProjectDatabase::instance().prepare(GS::UniString("SELECT 1 FROM ") + table + " WHERE id = ?");
    query.bind(1, static_cast<int32_t>(id));
    return query.executeStep();
}

double RoundToCents(double value)
{
    return std::round(value * 100.0) / 100.0;
}
