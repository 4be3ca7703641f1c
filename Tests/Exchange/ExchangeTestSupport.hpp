#pragma once
#include <clocale>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "Database/ProjectDatabase.hpp"
#include "TempFolder.hpp"
#include "Exchange/XlsxExport.hpp"
#include "Exchange/XlsxImport.hpp"
#include "Host/StandInHost.hpp"

using Json = nlohmann::json;
using Entries = std::vector<std::pair<std::string, std::string>>; // (name, content)
using Texts = std::vector<std::string>;
// The categories as rows: title|code|sort order|total.
inline const char* const CategoryRows = "SELECT title || '|' || code || '|' || sort_order || '|' || "
                                        "printf('%.6f', total) FROM categories ORDER BY sort_order, id";

struct TempDir : TempFolder {
    std::string Path(const std::string& name) const { return *this / name; }
};

// Switches the process locale for one scope and restores it afterwards.
struct ScopedLocale {
    explicit ScopedLocale(const char* name)
        : previous(std::setlocale(LC_ALL, nullptr)), active(std::setlocale(LC_ALL, name) != nullptr) { }
    ~ScopedLocale() { std::setlocale(LC_ALL, previous.c_str()); }
    const std::string previous;
    const bool active;
};

// The workbook as openpyxl reads it (see openpyxl_peer.py): {"order": [names], "sheets": {name: ...}}.
Json InspectWithOpenpyxl(const std::string& path);
// A workbook written by openpyxl from {"sheets": [{"name", "cells": {"A1": value | {"formula"}}}]}.
void WriteWithOpenpyxl(const Json& contents, const std::string& path);
// Every key that expected names holds the same in actual, recursively; numbers within rounding.
void ExpectSubset(const Json& actual, const Json& expected, const std::string& where = "");

// A deflated ZIP package.
void WriteZip(const std::string& path, const Entries& entries);
// The parts of a workbook package written by hand: each sheet by its name and the XML inside its
// sheetData (cells alone are put into one row element), and shared strings when given.
Entries RawWorkbook(const Entries& sheets, const std::string& sharedItems = "");
inline void WriteRawWorkbook(const std::string& path, const Entries& sheets) { WriteZip(path, RawWorkbook(sheets)); }
// XML of one cell: an inline string, or a number.
inline std::string Str(const std::string& ref, const std::string& text)
{
    return "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>" + text + "</t></is></c>";
}
inline std::string Num(const std::string& r, const std::string& n) { return "<c r=\"" + r + "\"><v>" + n + "</v></c>"; }

inline void WriteFileBytes(const std::string& path, const std::string& bytes) { std::ofstream(path) << bytes; }

// Every case starts with its own stand-in host without stored data and a fresh database.
class ExchangeTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override { Db().reopen(); }

    ProjectDatabase& Db() { return ProjectDatabase::instance(); }
    void SetProjectInfo(const std::vector<std::pair<std::string, std::string>>& keyValues);
    // Through the table layer; the item gets one quantity of its exact value.
    GS::Int32 AddCategory(const std::string& title, const std::string& code = "", const std::string& descript = "");
    void AddItem(GS::Int32 categoryId, const std::string& code, const std::string& descript, const std::string& unit,
        double qty, double price);
    // Removes the default category, so an estimate holds only what a case adds.
    void RemoveDefaultCategory() { Db().execSql("DELETE FROM categories"); }

    bool Export(const std::string& path, const ExportXlsOptions& o = {}) { return ExportXlsx(IO::Location(GS::UniString(path)), o); }
    bool Import(const std::string& path) { return ImportXlsx(IO::Location(GS::UniString(path))); }
    // The first column of every row, as text.
    std::vector<std::string> Rows(const std::string& sql);
    // The estimate as the SQL dump writes it, for before/after comparisons.
    std::string DumpTables();

    std::unique_ptr<Host::StandInHost> host;
    TempDir temp;
};
