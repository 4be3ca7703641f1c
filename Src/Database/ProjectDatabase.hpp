#pragma once
#include "Database/DatabaseConnection.hpp"

// The one in-memory SQLite database of the open project. It is opened lazily, loaded from the
// project's module data "CalvoraDB", and stored back at the storing points (New, Close, the main
// palette hidden or destroyed, the end of a sync, a successful SQL import).
class ProjectDatabase : public DatabaseConnection {
public:
    static ProjectDatabase& instance();

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

    // After the host failed to hand over the project's stored estimate, an empty one stands in for
    // it and nothing is stored over the project's own. Reads it again; true when that succeeded,
    // and the estimate read (or, when the project holds none, an empty one) replaced the stand-in.
    bool retryStoredRead();
    // True once per project, the first time it is asked after such a failure: the user is told then.
    bool takeUnreadNotice();

private:
    ProjectDatabase() = default;

    // Opens a fresh connection, loads the project's data and makes the schema ready.
    void open() override;
    // Drops the connection without storing; both flags go with it.
    void drop();

    // Set by loadFromProject within open: the connection holds an image read from the
    // project, not yet proven usable by the schema step.
    bool imageLoaded = false;
    // The host failed to hand over the project's stored estimate: what is open stands in for it.
    bool storedUnread = false;
    // The user has been told of that, for the project open now.
    bool unreadTold = false;
    double importTimeLimit = 60.0;
};
