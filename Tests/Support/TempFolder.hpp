#pragma once
// A folder of the test's own under the system's temporary folder, so runs side by side never share a
// file; removed with what it holds.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

struct TempFolder {
    std::string path = ::testing::TempDir() + "calvora-XXXXXX";
    TempFolder()
    {
        if (mkdtemp(path.data()) == nullptr)
            throw std::runtime_error("no temporary folder");
    }
    ~TempFolder() { std::error_code ignored; std::filesystem::remove_all(path, ignored); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};
