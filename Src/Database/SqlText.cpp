#include "Database/SqlText.hpp"

#include <cmath>

#include <SQLiteCpp/SQLiteCpp.h>

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

double RoundToCents(double value)
{
    return std::round(value * 100.0) / 100.0;
}
