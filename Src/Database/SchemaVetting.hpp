// Lets the lifecycle make, vet and copy whole databases without the tables depending back on it.
#pragma once
#include <memory>
#include <string>
#include <vector>

namespace SQLite {
class Database;
}

// Creates the tables, migrates older ones, makes the indexes and inserts the default category
// when there is none.
void CreateSchemaOn(SQLite::Database& database);
// Throws when the database cannot be used; false when an index is not known to agree with its table.
bool CheckSchemaUsable(SQLite::Database& database);
// A stored image is trusted only when SQLite finds it sound.
void CheckImageSound(SQLite::Database& database);
// A database may hold only what the add-on itself makes: its three tables, SQLite's sequence
// table and its own indexes. Anything else, a trigger or a view above all, would run or answer
// in place of the add-on's statements at some later save. Where extraTables is given, other
// ordinary tables (with the indexes SQLite makes for their keys) are let through and listed, to
// be left behind by the caller: earlier versions let imports keep such tables.
void CheckOnlyOwnObjects(SQLite::Database& database, std::vector<std::string>* extraTables = nullptr);

// The tables of a database but SQLite's sequence table, less the given ones.
std::vector<std::string> TablesOf(SQLite::Database& database, const std::vector<std::string>& except = {});
// Builds a writable connection with the add-on's own settings that holds the given tables of
// the given one, their rows and their next ids; the indexes come with the schema step.
std::unique_ptr<SQLite::Database> CopyIntoFresh(SQLite::Database& source, const std::vector<std::string>& tables);

bool TableExists(SQLite::Database& database, const char* name);
std::vector<std::string> ColumnNames(SQLite::Database& database, const std::string& table);
// Our own table names go out as they are; anything else an import may have created is quoted.
std::string QuoteIdentifier(const std::string& name);
