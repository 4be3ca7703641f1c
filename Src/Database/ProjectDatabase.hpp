#pragma once
#include <memory>
#include <vector>

#include "GSRoot/Definitions.hpp"
#include "GSRoot/UniString.hpp"

namespace SQLite {
class Database;
class Statement;
}

// The one in-memory SQLite database of the open project. It is opened lazily, loaded from the
// project's module data "CalvoraDB", and stored back at the storing points (New, Close, the main
// palette hidden or destroyed, the end of a sync, a successful SQL import).
class ProjectDatabase {
public:
    static ProjectDatabase& instance();

    ProjectDatabase(const ProjectDatabase&) = delete;
    ProjectDatabase& operator=(const ProjectDatabase&) = delete;

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

    // Drops the three tables and makes the empty schema with its default category.
    void clearAll();
    // Stores pending changes, then starts a fresh database that loads nothing.
    void resetToEmpty();
    // Stores pending changes, then closes the connection.
    void close();
    // Drops the connection without storing and loads the project that is open now.
    void reopen();

    // Creates the tables, migrates older ones and inserts the default category when there is none.
    void createSchema();
    void loadFromProject();
    // Stores a complete image when there are changes; the changed flag stays set when that fails.
    void saveToProject();

    // The schema and every row as SQL text, independent of the locale.
    void dumpSql(GS::UniString& out);
    // Replaces the estimate with what the SQL text builds, or leaves it untouched when that fails.
    bool replaceWithSql(const GS::UniString& sql, bool keepLinks);
    // How long the SQL of an import may run before it is interrupted; returns the previous limit.
    double setImportTimeLimit(double seconds);

    bool isOpen() const { return openFlag; }
    bool isChanged() const { return changedFlag; }

    // After the host failed to hand over the project's stored estimate, an empty one stands in for
    // it and nothing is stored over the project's own. Reads it again; true when that succeeded,
    // and the estimate read (or, when the project holds none, an empty one) replaced the stand-in.
    bool retryStoredRead();
    // True once per project, the first time it is asked after such a failure: the user is told then.
    bool takeUnreadNotice();

private:
    ProjectDatabase();
    ~ProjectDatabase();

    // Puts a new connection in place of the current one (or none).
    void replaceConnection(std::unique_ptr<SQLite::Database> next);
    // Closes a connection once no statement holds it any more.
    void retire(std::unique_ptr<SQLite::Database> previous);
    // Drops the connection without storing; both flags go with it.
    void drop();

    std::unique_ptr<SQLite::Database> connection;
    bool openFlag = false;
    bool changedFlag = false;
    // Set by loadFromProject within ensureOpen: the connection holds an image read from the
    // project, not yet proven usable by the schema step.
    bool imageLoaded = false;
    // The host failed to hand over the project's stored estimate: what is open stands in for it.
    bool storedUnread = false;
    // The user has been told of that, for the project open now.
    bool unreadTold = false;
    double importTimeLimit = 60.0;
    // Connections dropped while a caller still held one of their statements; closed once free.
    std::vector<std::unique_ptr<SQLite::Database>> retired;
};
