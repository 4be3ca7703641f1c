#pragma once
// Shared helpers of the palette tests.
#include <clocale>
#include <cstdlib>
#include <string>

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

}  // namespace PaletteTest
