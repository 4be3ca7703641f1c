// Lets the tables run their statements without depending on the lifecycle that creates and vets them.
#pragma once
#include <memory>
#include <vector>

#include "GSRoot/Definitions.hpp"
#include "GSRoot/UniString.hpp"

struct sqlite3;

namespace SQLite {
class Database;
class Statement;
}

// The connection of the project database that the tables work on. Opening it (loading the
// project's data, making the schema ready) is the project database's part: ProjectDatabase.
class DatabaseConnection {
public:
    // The project database's connection.
    static DatabaseConnection& instance();

    DatabaseConnection(const DatabaseConnection&) = delete;
    DatabaseConnection& operator=(const DatabaseConnection&) = delete;

    // Opens a fresh connection, loads the project's data and makes the schema ready, unless open.
    void ensureOpen();
    // Opens the database when needed and prepares the statement on its connection.
    SQLite::Statement prepare(const GS::UniString& sql);
    void prepare(std::unique_ptr<SQLite::Statement>& storage, const GS::UniString& sql);
    // Runs a statement that returns no rows; marks the database changed when a row changed.
    GS::Int32 execute(SQLite::Statement& statement);
    // Runs one or more statements and marks the database changed.
    void execSql(const GS::UniString& sql);
    // The row id of the last insert, -1 when there is none to read.
    GS::Int32 lastInsertRowId();

    bool isOpen() const { return openFlag; }
    bool isChanged() const { return changedFlag; }

protected:
    DatabaseConnection() = default;
    virtual ~DatabaseConnection();

    // Puts the connection in place and sets the open flag, or throws.
    virtual void open() = 0;
    // Puts a new connection in place of the current one (or none).
    void replaceConnection(std::unique_ptr<SQLite::Database> next);
    // Closes a connection once no statement holds it any more.
    void retire(std::unique_ptr<SQLite::Database> previous);

    std::unique_ptr<SQLite::Database> connection;
    bool openFlag = false;
    bool changedFlag = false;

private:
    // Connections dropped while a caller still held one of their statements; closed once free.
    std::vector<std::unique_ptr<SQLite::Database>> retired;
};

// An in-memory connection with the add-on's settings and its own "sum".
std::unique_ptr<SQLite::Database> OpenMemoryDatabase();
// Imported SQL runs on these connections, so none of them may reach the file system:
// no ATTACH (also what VACUUM INTO needs), no temporary files, no extensions, no schema
// tricks, and no fts3_tokenizer(name, pointer), which hands out and calls raw function pointers.
void Harden(sqlite3* handle);
