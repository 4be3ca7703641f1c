#pragma once
// Shared helpers of the palette tests: locales, the fixture project and estimate, and the text
// view of a panel cut into the parts a scenario looks at.
#include <gtest/gtest.h>

#include <cctype>
#include <clocale>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "DG/DGUser.hpp"
#include "Database/CategoriesTable.hpp"
#include "Database/ItemsTable.hpp"
#include "Database/ProjectDatabase.hpp"
#include "Database/QtiesTable.hpp"
#include "Host/StandInHost.hpp"

namespace PaletteTest {

// The user's default locale (what setlocale(LC_ALL, "") picks) and the process locale, switched
// for one scope and both restored whatever happens.
struct UserLocale {
    explicit UserLocale(const char* name)
        : savedProcess(std::setlocale(LC_ALL, nullptr)),
          savedEnv(std::getenv("LC_ALL") != nullptr ? std::getenv("LC_ALL") : ""),
          hadEnv(std::getenv("LC_ALL") != nullptr)
    {
        setenv("LC_ALL", name, 1);
        ok = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~UserLocale()
    {
        hadEnv ? setenv("LC_ALL", savedEnv.c_str(), 1) : unsetenv("LC_ALL");
        std::setlocale(LC_ALL, savedProcess.c_str());
    }
    const std::string savedProcess, savedEnv;
    const bool hadEnv;
    bool ok = false;
};

// Three walls, a section element cut from the second, and a wall that is not in the model.
constexpr const char* W1 = "A0000000-0000-4000-8000-000000000001";
constexpr const char* W2 = "A0000000-0000-4000-8000-000000000002";
constexpr const char* W3 = "A0000000-0000-4000-8000-000000000003";
constexpr const char* SE = "A0000000-0000-4000-8000-000000000029";
constexpr const char* Gone = "A0000000-0000-4000-8000-0000000000FF";

inline Host::Json FixtureProject()
{
    auto wall = [](const char* guid, const char* id, double volume) {
        return Host::Json{{"guid", guid}, {"typeID", "Wall"}, {"id", id},
                          {"quantities", {{"volume", volume}, {"area", 10.0}, {"length", 4.0}}}};
    };
    Host::Json elements = Host::Json::array({wall(W1, "W-1", 2.5), wall(W2, "W-2", 4.0), wall(W3, "W-3", 3.0)});
    elements.push_back({{"guid", SE}, {"typeID", "SectionElement"}, {"id", "SE-1"}, {"parentGuid", W2}});
    return {{"model", {{"elements", elements}}}};
}

// Categories by id: 1 "A1 Earthworks", 2 "B2 Concrete", 3 "Masonry" (no code), with sort orders
// 3, 1, 2. Category 1 holds items E-01 (five quantities), E-02 (one) and E-03 (one); category 2
// holds C-01 without quantities; category 3 is empty. The quantities of E-01 are stored in the
// sort order q2, q1, q3, q4, q5 (ids 1..5 are q1..q5):
//   q1 W1 "Wall #ID" Volume = 2.5 (up to date), q2 W2 Volume stored 99 (out of date),
//   q3 a wall not in the model (missing), q4 unlinked "2*3" = 6, q5 W3 Volume = 3 (up to date).
inline void BuildEstimate()
{
    CategoriesTable categories;
    Category first = categories.findById(1);  // the default category of a fresh schema
    first.setString("title", "Earthworks");
    first.setString("code", "A1");
    first.setString("descript", "Digging and filling");
    ASSERT_TRUE(categories.save(first));
    for (const char* code : {"B2", ""}) {
        Category c;
        c.setString("code", code);
        c.setString("title", std::string(code).empty() ? "Masonry" : "Concrete");
        ASSERT_TRUE(categories.save(c));
    }
    ASSERT_TRUE(categories.updateSortOrders({2, 3, 1}));

    ItemsTable items;
    struct ItemRow {
        int category;
        const char* code;
        const char* descript;
        double price;
    };
    for (const ItemRow& r : {ItemRow{1, "E-01", "Excavation", 10.0}, ItemRow{1, "E-02", "Backfill", 2.5},
                             ItemRow{1, "E-03", "Transport", 1234.5}, ItemRow{2, "C-01", "Footing", 100.0}}) {
        Item item;
        item.setInt("category_id", r.category);
        item.setString("code", r.code);
        item.setString("descript", r.descript);
        item.setString("unit", "m3");
        item.setDouble("price", r.price);
        ASSERT_TRUE(items.save(item));
    }

    QtiesTable qties;
    struct QtyRow {
        int item;
        const char* guid;
        const char* descript;
        const char* formula;
        double value;
    };
    for (const QtyRow& r : {QtyRow{1, W1, "Wall #ID", "Volume", 2.5}, QtyRow{1, W2, "Outdated", "Volume", 99.0},
                            QtyRow{1, Gone, "Gone", "Volume", 1.0}, QtyRow{1, "", "Fixed", "2*3", 6.0},
                            QtyRow{1, W3, "Third", "Volume", 3.0}, QtyRow{2, "", "Fill", "4", 4.0},
                            QtyRow{3, "", "Trip", "1", 1.0}}) {
        Qty q;
        q.setInt("item_id", r.item);
        q.setString("guid", r.guid);
        q.setString("descript", r.descript);
        q.setString("formula", r.formula);
        q.setDouble("value", r.value);
        ASSERT_TRUE(qties.save(q));
    }
    ASSERT_TRUE(qties.updateSortOrders({2, 1, 3, 4, 5}));
}

// The lines of a panel's text view, without leading blanks.
inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(line.find_first_not_of(' ') == std::string::npos ? 0 : line.find_first_not_of(' ')));
    return lines;
}

// The block of one item of the text view ("8" for the quantities list), or of one row of a list
// ("8 row 2": the row line with its painted cells).
inline std::vector<std::string> Block(const std::string& text, const std::string& scope)
{
    const std::vector<std::string> lines = Lines(text);
    const std::size_t space = scope.find(' ');
    const std::string item = scope.substr(0, space) + " ";
    const std::string row = space == std::string::npos ? "" : scope.substr(space + 1) + " ";
    std::vector<std::string> out;
    bool inItem = false, inRow = false;
    for (const std::string& line : lines) {
        const bool itemLine = !line.empty() && std::isdigit(static_cast<unsigned char>(line[0]));
        if (itemLine)
            inItem = line.compare(0, item.size(), item) == 0;
        if (!inItem)
            continue;
        if (row.empty()) {
            out.push_back(line);
            continue;
        }
        if (line.compare(0, 4, "row ") == 0)
            inRow = line.compare(0, row.size(), row) == 0;
        if (inRow)
            out.push_back(line);
    }
    return out;
}

// Every expected line is in the scope, exactly; "!text" means no line of the scope contains text.
inline void ExpectLines(const std::string& text, const std::string& scope, const std::vector<std::string>& expected,
                        const std::string& context)
{
    const std::vector<std::string> block = scope.empty() ? Lines(text) : Block(text, scope);
    std::string shown;
    for (const std::string& l : block)
        shown += "  " + l + "\n";
    for (const std::string& e : expected) {
        if (!e.empty() && e[0] == '!') {
            for (const std::string& l : block)
                EXPECT_EQ(l.find(e.substr(1)), std::string::npos)
                    << context << ": [" << scope << "] should not hold " << e.substr(1) << "\n" << shown;
            continue;
        }
        bool found = false;
        for (const std::string& l : block)
            found = found || l == e;
        EXPECT_TRUE(found) << context << ": [" << scope << "] lacks: " << e << "\n" << shown;
    }
}

}  // namespace PaletteTest
