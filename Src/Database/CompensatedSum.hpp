// Keeps the roll-up's sums the same whichever SQLite the add-on runs on.
#pragma once
#include <sqlite3.h>

// Puts SUM as SQLite computes it since 3.43 in place of the connection's own "sum" (aggregate and
// window); gives SQLite's result code.
int DefineCompensatedSum(sqlite3* handle);
