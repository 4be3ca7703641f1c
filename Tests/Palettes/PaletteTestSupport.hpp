#pragma once
// Shared helpers of the palette tests: the user's locale, the fixture project and estimate, and
// the parts of a panel's text view that a scenario looks at.
#include <gtest/gtest.h>

#include <cctype>
#include <clocale>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "Database/ProjectDatabase.hpp"
#include "Host/StandInHost.hpp"

namespace PaletteTest {

// The user's default locale (what setlocale(LC_ALL, "") picks) and the process locale, for one
// scope; both are restored whatever happens.
struct UserLocale {
    explicit UserLocale(const char* name)
        : process(std::setlocale(LC_ALL, nullptr)), env(std::getenv("LC_ALL") ? std::getenv("LC_ALL") : ""),
          hadEnv(std::getenv("LC_ALL") != nullptr)
    {
        setenv("LC_ALL", name, 1);
        ok = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~UserLocale()
    {
        hadEnv ? setenv("LC_ALL", env.c_str(), 1) : unsetenv("LC_ALL");
        std::setlocale(LC_ALL, process.c_str());
    }
    const std::string process, env;
    const bool hadEnv;
    bool ok = false;
};

// Walls W1..W3 (volumes 2.5, 4, 3), a section element cut from W2, and a guid of no element.
constexpr const char* W1 = "A0000000-0000-4000-8000-000000000001";
constexpr const char* W2 = "A0000000-0000-4000-8000-000000000002";
constexpr const char* W3 = "A0000000-0000-4000-8000-000000000003";
constexpr const char* SE = "A0000000-0000-4000-8000-000000000029";

inline Host::Json FixtureProject()
{
    auto wall = [](const char* guid, const char* id, double volume) {
        return Host::Json{{"guid", guid}, {"typeID", "Wall"}, {"id", id}, {"quantities", {{"volume", volume}}}};
    };
    return {{"model", {{"elements", {wall(W1, "W-1", 2.5), wall(W2, "W-2", 4.0), wall(W3, "W-3", 3.0),
                                     {{"guid", SE}, {"typeID", "SectionElement"}, {"parentGuid", W2}}}}}}};
}

// Categories by id 1 "A1 Earthworks", 2 "B2 Concrete", 3 "Masonry" (no code) with sort orders 3, 1, 2.
// Items 1-3 (E-01..E-03) in category 1, item 4 (C-01) in category 2. Item 1's quantities by id:
// q1 W1 up to date, q2 W2 out of date, q3 missing element, q4 unlinked, q5 W3 up to date; their
// sort orders put q2 first.
inline void BuildEstimate()
{
    const std::string a = "A0000000-0000-4000-8000-0000000000";
    ProjectDatabase::instance().execSql(GS::UniString(
        "DELETE FROM categories; INSERT INTO categories (id, title, code, sort_order, descript, total) VALUES "
        "(1, 'Earthworks', 'A1', 3, 'Digging and filling', 2359.5), (2, 'Concrete', 'B2', 1, '', 0), "
        "(3, 'Masonry', '', 2, '', 0);"
        "INSERT INTO items (id, category_id, sort_order, code, descript, unit, price, qty, total) VALUES "
        "(1, 1, 1, 'E-01', 'Excavation', 'm3', 10, 111.5, 1115), (2, 1, 2, 'E-02', 'Backfill', 'm3', 2.5, 4, 10), "
        "(3, 1, 3, 'E-03', 'Transport', 'm3', 1234.5, 1, 1234.5), (4, 2, 1, 'C-01', 'Footing', 'm3', 100, 0, 0);"
        "INSERT INTO qties (id, item_id, guid, sort_order, descript, formula, value) VALUES "
        "(1, 1, '" + a + "01', 2, 'Wall #ID', 'Volume', 2.5), (2, 1, '" + a + "02', 1, 'Outdated', 'Volume', 99), "
        "(3, 1, '" + a + "FF', 3, 'Gone', 'Volume', 1), (4, 1, '', 4, 'Fixed', '2*3', 6), "
        "(5, 1, '" + a + "03', 5, 'Third', 'Volume', 3), (6, 2, '', 1, 'Fill', '4', 4), "
        "(7, 3, '', 1, 'Trip', '1', 1);"));
}

inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.erase(0, line.find_first_not_of(' ')));
    return lines;
}

// A scope of the text view: "" all of it; "8" item 8 with its headers, tabs and rows; "8 row 2"
// one row with its painted cells; "rects 5 8" the rectangles of items; "headers 8" and "tabs 8"
// a list's header sizes and tab ranges on one line.
inline std::vector<std::string> Scope(const std::string& view, const std::string& scope)
{
    std::istringstream in(scope);
    std::vector<std::string> w;
    for (std::string word; in >> word;)
        w.push_back(word);
    std::vector<std::string> out;
    if (w.empty())
        return Lines(view);
    if (w[0] == "rects" || w[0] == "headers" || w[0] == "tabs") {
        std::string line;
        for (std::size_t i = 1; i < w.size(); ++i)
            for (const std::string& l : Scope(view, w[i])) {
                std::istringstream t(l);
                std::string kind, number, third;
                t >> kind >> number >> third;
                const bool wanted = (w[0] == "rects" && kind == w[i]) || (w[0] == "tabs" && kind == "tab") ||
                                    (w[0] == "headers" && kind == "header");
                if (wanted)
                    line += (line.empty() ? "" : " ") +
                            (w[0] == "headers" ? std::to_string(std::atoi(l.c_str() + l.find(" size ") + 6)) : third);
            }
        return {line};
    }
    bool inItem = false, inRow = false;
    const std::string row = w.size() > 2 ? "row " + w[2] + " " : "";
    for (const std::string& l : Lines(view)) {
        if (!l.empty() && std::isdigit(static_cast<unsigned char>(l[0])))
            inItem = l.compare(0, w[0].size() + 1, w[0] + " ") == 0;
        if (l.compare(0, 4, "row ") == 0)
            inRow = l.compare(0, row.size(), row) == 0;
        if (inItem && (row.empty() || inRow))
            out.push_back(l);
    }
    return out;
}

// Every expected line is in the scope, exactly; "!text": no line of the scope contains text.
inline void ExpectLines(const std::vector<std::string>& block, const std::vector<std::string>& expected,
                        const std::string& context)
{
    std::string shown;
    for (const std::string& l : block)
        shown += "  " + l + "\n";
    for (const std::string& e : expected) {
        bool found = false;
        for (const std::string& l : block)
            found = found || (e[0] == '!' ? l.find(e.substr(1)) != std::string::npos : l == e);
        EXPECT_NE(found, e[0] == '!') << context << (e[0] == '!' ? ": holds " : ": lacks ") << e << "\n" << shown;
    }
}

}  // namespace PaletteTest
