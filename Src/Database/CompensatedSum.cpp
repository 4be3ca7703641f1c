// SQLite's SUM of 3.43 and later, for every SQLite the add-on runs on.
#include "Database/CompensatedSum.hpp"

#include <cmath>
#include <limits>

namespace {

// SUM as SQLite computes it since 3.43: integers exactly while they fit, REAL values with
// Kahan-Babuska-Neumaier compensation. Older SQLite adds plainly, and the roll-up's rounded
// sums must not depend on which SQLite the add-on happens to run on.
struct CompensatedSum {
    double sum;
    double error;
    sqlite3_int64 integer;
    sqlite3_int64 count;
    bool approximate;
    bool overflow;
};

void AddCompensated(CompensatedSum& total, double value)
{
    const double t = total.sum + value;
    if (std::fabs(total.sum) > std::fabs(value))
        total.error += (total.sum - t) + value;
    else
        total.error += (value - t) + total.sum;
    total.sum = t;
}

// Integers beyond 2^52 go in as two parts, so no bits are lost on the way to a double.
void AddCompensatedInteger(CompensatedSum& total, sqlite3_int64 value)
{
    const sqlite3_int64 bound = 4503599627370496LL;
    if (value <= -bound || value >= bound) {
        const sqlite3_int64 small = value % 16384;
        AddCompensated(total, static_cast<double>(value - small));
        AddCompensated(total, static_cast<double>(small));
    } else {
        AddCompensated(total, static_cast<double>(value));
    }
}

// Carries the exact integer sum so far over into the compensated one.
void StartCompensated(CompensatedSum& total)
{
    const sqlite3_int64 small = total.integer % 16384;
    const bool large = total.integer <= -4503599627370496LL || total.integer >= 4503599627370496LL;
    total.sum = static_cast<double>(large ? total.integer - small : total.integer);
    total.error = large ? static_cast<double>(small) : 0.0;
    total.approximate = true;
}

void SumStep(sqlite3_context* context, int, sqlite3_value** arguments)
{
    auto* total = static_cast<CompensatedSum*>(sqlite3_aggregate_context(context, sizeof(CompensatedSum)));
    const int type = sqlite3_value_numeric_type(arguments[0]);
    if (total == nullptr || type == SQLITE_NULL)
        return;
    ++total->count;
    if (type == SQLITE_INTEGER) {
        const sqlite3_int64 value = sqlite3_value_int64(arguments[0]);
        if (!total->approximate) {
            sqlite3_int64 next = 0;
            if (!__builtin_add_overflow(total->integer, value, &next)) {
                total->integer = next;
                return;
            }
            total->overflow = true;
            StartCompensated(*total);
        }
        AddCompensatedInteger(*total, value);
        return;
    }
    if (!total->approximate)
        StartCompensated(*total);
    total->overflow = false;  // a REAL value makes the result approximate anyway
    AddCompensated(*total, sqlite3_value_double(arguments[0]));
}

// Takes a value out again, for a window that moves on.
void SumInverse(sqlite3_context* context, int, sqlite3_value** arguments)
{
    auto* total = static_cast<CompensatedSum*>(sqlite3_aggregate_context(context, sizeof(CompensatedSum)));
    const int type = sqlite3_value_numeric_type(arguments[0]);
    if (total == nullptr || type == SQLITE_NULL)
        return;
    --total->count;
    if (type == SQLITE_INTEGER) {
        const sqlite3_int64 value = sqlite3_value_int64(arguments[0]);
        if (!total->approximate) {
            sqlite3_int64 next = 0;
            if (!__builtin_sub_overflow(total->integer, value, &next)) {
                total->integer = next;
                return;
            }
            total->overflow = true;
            StartCompensated(*total);
        }
        if (value == std::numeric_limits<sqlite3_int64>::min()) {
            AddCompensatedInteger(*total, std::numeric_limits<sqlite3_int64>::max());
            AddCompensatedInteger(*total, 1);
        } else {
            AddCompensatedInteger(*total, -value);
        }
        return;
    }
    if (!total->approximate)
        StartCompensated(*total);
    AddCompensated(*total, -sqlite3_value_double(arguments[0]));
}

void SumFinal(sqlite3_context* context)
{
    auto* total = static_cast<CompensatedSum*>(sqlite3_aggregate_context(context, 0));
    if (total == nullptr || total->count == 0)
        sqlite3_result_null(context);
    else if (!total->approximate)
        sqlite3_result_int64(context, total->integer);
    else if (total->overflow)
        sqlite3_result_error(context, "integer overflow", -1);
    else
        sqlite3_result_double(context, std::isfinite(total->error) ? total->sum + total->error : total->sum);
}

}  // namespace

int DefineCompensatedSum(sqlite3* handle)
{
    return sqlite3_create_window_function(handle, "sum", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                          SumStep, SumFinal, SumFinal, SumInverse, nullptr);
}
