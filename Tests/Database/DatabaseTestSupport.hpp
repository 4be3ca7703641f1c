#pragma once
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <SQLiteCpp/SQLiteCpp.h>

#include "Calvora/HostCalls.hpp"
#include "Database/CategoriesTable.hpp"
#include "Database/ItemsTable.hpp"
#include "Database/ProjectDatabase.hpp"
#include "Database/QtiesTable.hpp"
#include "GSRoot/Debug.hpp"
#include "Host/StandInHost.hpp"

// Every case starts with its own stand-in host (no stored data) and a freshly loaded database,
// with the debug output captured.
class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<Host::StandInHost>();
        CalvoraSetHostTable(host->Table());
        GS::SetDebugCapture([this](const std::string& line) { debugOutput += line; });
        ProjectDatabase::instance().reopen();
    }

    void TearDown() override
    {
        GS::SetDebugCapture({});
        // Leave no connection behind that a later case could store into a dead host.
        ProjectDatabase::instance().reopen();
    }

    ProjectDatabase& Db() { return ProjectDatabase::instance(); }

    GS::Int32 AddCategory(const char* title)
    {
        Category category;
        category.setString("title", title);
        EXPECT_TRUE(CategoriesTable().save(category));
        return category.getInt("id");
    }

    GS::Int32 AddItem(GS::Int32 categoryId, double price, const char* code = "")
    {
        Item item;
        item.setInt("category_id", categoryId);
        item.setDouble("price", price);
        item.setString("code", code);
        EXPECT_TRUE(ItemsTable().save(item));
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

    // Runs a query and gives its first column as an integer (0 without a row).
    long long QueryInt(const std::string& sql)
    {
        SQLite::Statement query = Db().prepare(GS::UniString(sql));
        return query.executeStep() ? query.getColumn(0).getInt64() : 0;
    }

    double QueryDouble(const std::string& sql)
    {
        SQLite::Statement query = Db().prepare(GS::UniString(sql));
        return query.executeStep() ? query.getColumn(0).getDouble() : 0.0;
    }

    // (id, sort_order) of a table's rows, optionally of one parent, in sort order.
    std::vector<std::pair<int, int>> SortOrders(const std::string& table, const std::string& where = "")
    {
        std::vector<std::pair<int, int>> rows;
        std::string sql = "SELECT id, sort_order FROM " + table;
        if (!where.empty())
            sql += " WHERE " + where;
        sql += " ORDER BY sort_order, id";
        SQLite::Statement query = Db().prepare(GS::UniString(sql));
        while (query.executeStep())
            rows.emplace_back(query.getColumn(0).getInt(), query.getColumn(1).getInt());
        return rows;
    }

    // Stores the pending changes, so the changed flag starts clear.
    void StoreNow()
    {
        Db().saveToProject();
        ASSERT_FALSE(Db().isChanged());
    }

    std::unique_ptr<Host::StandInHost> host;
    std::string debugOutput;
};

// Switches the process locale for one scope and restores it afterwards.
class ScopedLocale {
public:
    explicit ScopedLocale(const char* name);
    ~ScopedLocale();
    bool Active() const { return active; }

private:
    std::string previous;
    bool active = false;
};
