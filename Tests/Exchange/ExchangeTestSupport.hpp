#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "Calvora/HostCalls.hpp"
#include "Database/ProjectDatabase.hpp"
#include "Host/StandInHost.hpp"

using Json = nlohmann::json;

// A folder of its own under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    std::string Path(const std::string& name) const { return dir + "/" + name; }

private:
    std::string dir;
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

// The workbook as openpyxl reads it (see read_workbook.py).
Json InspectWithOpenpyxl(const std::string& path);
// A workbook written by openpyxl from {"sheets": [{"name", "cells": {"A1": value | {"formula"}}}]}.
void WriteWithOpenpyxl(const Json& contents, const std::string& path);

// A ZIP package of the given entries, deflated.
void WriteZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries);
// A ZIP package with one entry of that many zero bytes among the given entries.
void WriteZipWithLargeEntry(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries,
    const std::string& largeName, std::size_t largeSize);

// A workbook package written by hand: each sheet by its name and the XML inside its sheetData.
void WriteRawWorkbook(const std::string& path, const std::vector<std::pair<std::string, std::string>>& sheets);
// XML of one cell: an inline string, or a number.
std::string InlineStringCell(const std::string& ref, const std::string& text);
std::string NumberCell(const std::string& ref, const std::string& number);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Every case starts with its own stand-in host without stored data and a fresh database.
class ExchangeTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    ProjectDatabase& Db() { return ProjectDatabase::instance(); }

    void SetProjectInfo(const std::vector<std::pair<std::string, std::string>>& keyValues);

    GS::Int32 AddCategory(const std::string& title, const std::string& code = "", const std::string& descript = "");
    GS::Int32 AddItem(GS::Int32 categoryId, const std::string& code, const std::string& descript,
        const std::string& unit, double qty, double price);
    void AddQty(GS::Int32 itemId, double value);
    // Removes the default category, so an estimate holds only what a case adds.
    void RemoveDefaultCategory();

    long long QueryInt(const std::string& sql);
    double QueryDouble(const std::string& sql);
    std::string QueryText(const std::string& sql);
    // Every row of the three tables as text, for before/after comparisons.
    std::string DumpTables();

    std::unique_ptr<Host::StandInHost> host;
    TempDir temp;
};
