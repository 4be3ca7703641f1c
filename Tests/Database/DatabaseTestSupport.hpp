#pragma once
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <SQLiteCpp/SQLiteCpp.h>

#include "HostApi/HostCalls.hpp"
#include "Database/CategoriesTable.hpp"
#include "Database/ItemsTable.hpp"
#include "Database/ProjectDatabase.hpp"
#include "Database/QtiesTable.hpp"
#include "GSRoot/Debug.hpp"
#include "GSRoot/Memory.hpp"
#include "Host/StandInHost.hpp"
#include "TempFolder.hpp"

// (id, sort_order) pairs.
using Rows = std::vector<std::pair<int, int>>;

// What a fresh database dumps: the schema and the default category.
inline const char* const FreshDump =
    "-- Database schema and data dump\n\n"
    "CREATE TABLE categories (id INTEGER PRIMARY KEY AUTOINCREMENT, title TEXT, code TEXT, sort_order INTEGER, "
    "descript TEXT, total REAL);\n\n"
    "CREATE TABLE items (id INTEGER PRIMARY KEY AUTOINCREMENT, category_id INTEGER, sort_order INTEGER, code TEXT, "
    "descript TEXT, unit TEXT, price REAL, qty REAL, total REAL);\n\n"
    "CREATE TABLE qties (id INTEGER PRIMARY KEY AUTOINCREMENT, item_id INTEGER, guid TEXT, sort_order INTEGER, "
    "descript TEXT, formula TEXT, value REAL);\n\n"
    "INSERT INTO categories (id, title, code, sort_order, descript, total) VALUES (1, 'Untitled Category', '', 1, '', "
    "0.000000);\n\n\n\n";

// A directory of its own for files a case writes (or must not write).
class TempDir : public TempFolder {
public:
    std::string File(const std::string& name) const { return *this / name; }
    std::string Write(const std::string& name, const std::vector<unsigned char>& bytes) const
    {
        std::ofstream(File(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return File(name);
    }
    std::string Read(const std::string& name) const
    {
        std::ifstream file(File(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    // What the shell command writes to its standard output.
    std::string Run(const std::string& command) const
    {
        EXPECT_NE(std::system(("(" + command + ") > " + File("output")).c_str()), -1) << command;
        return Read("output");
    }
    long Count() const { return std::distance(std::filesystem::directory_iterator(path), std::filesystem::directory_iterator()); }
};

// Every case starts with its own stand-in host (no stored data) and a freshly loaded database,
// with the debug output captured.
class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<Host::StandInHost>();
        CalvoraSetHostTable(host->Table());
        GS::SetDebugCapture([this](const std::string& line) { debugOutput += line; });
        Db().reopen();
        handles = GS::LiveHandleCount();
    }

    // Every handle the host handed over or a store made was released.
    void TearDown() override
    {
        GS::SetDebugCapture({});
        Db().reopen();  // leave no connection that a later case could store into a dead host
        EXPECT_EQ(GS::LiveHandleCount(), handles);
    }

    static ProjectDatabase& Db() { return ProjectDatabase::instance(); }

    GS::Int32 AddCategory(const char* title)
    {
        Category category;
        category.setString("title", title);
        EXPECT_TRUE(CategoriesTable().save(category));
        return category.getInt("id");
    }

    // An item with quantities of the given values.
    GS::Int32 AddItem(GS::Int32 categoryId, double price, const std::vector<double>& values = {})
    {
        Item item;
        item.setInt("category_id", categoryId);
        item.setDouble("price", price);
        EXPECT_TRUE(ItemsTable().save(item));
        for (double value : values)
            AddQty(item.getInt("id"), value);
        return item.getInt("id");
    }

    GS::Int32 AddQty(GS::Int32 itemId, double value, const char* guid = "")
    {
        Qty qty;
        qty.setInt("item_id", itemId);
        qty.setDouble("value", value);
        qty.setString("guid", guid);
        EXPECT_TRUE(QtiesTable().save(qty));
        return qty.getInt("id");
    }

    // The first column of a query's first row; 0 or "" without a row.
    double Query(const std::string& sql)
    {
        SQLite::Statement query = Db().prepare(GS::UniString(sql));
        return query.executeStep() ? query.getColumn(0).getDouble() : 0.0;
    }

    std::string QueryText(const std::string& sql)
    {
        SQLite::Statement query = Db().prepare(GS::UniString(sql));
        return query.executeStep() ? query.getColumn(0).getString() : std::string();
    }

    double Get(const std::string& table, const std::string& column, GS::Int32 id)
    {
        return Query("SELECT " + column + " FROM " + table + " WHERE id = " + std::to_string(id));
    }

    // (id, sort_order) of a table's rows, by sort order.
    Rows SortOrders(const std::string& table)
    {
        Rows rows;
        SQLite::Statement query = Db().prepare(GS::UniString("SELECT id, sort_order FROM " + table + " ORDER BY sort_order, id"));
        while (query.executeStep())
            rows.emplace_back(query.getColumn(0).getInt(), query.getColumn(1).getInt());
        return rows;
    }

    std::string Dump()
    {
        GS::UniString text;
        Db().dumpSql(text);
        return text.ToUtf8();
    }

    // Loads the estimate the project holds now.
    void Load(const std::vector<unsigned char>& image)
    {
        host->SetModuleData("CalvoraDB", image);
        debugOutput.clear();
        Db().reopen();
    }

    // Stores the pending changes, so the changed flag starts clear.
    void StoreNow()
    {
        Db().saveToProject();
        ASSERT_FALSE(Db().isChanged());
    }

    std::unique_ptr<Host::StandInHost> host;
    std::string debugOutput;
    GS::Int64 handles = 0;
};
