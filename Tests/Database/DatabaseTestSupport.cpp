#include "DatabaseTestSupport.hpp"

#include <clocale>

ScopedLocale::ScopedLocale(const char* name)
{
    const char* current = std::setlocale(LC_ALL, nullptr);
    previous = current != nullptr ? current : "C";
    active = std::setlocale(LC_ALL, name) != nullptr;
}

ScopedLocale::~ScopedLocale()
{
    std::setlocale(LC_ALL, previous.c_str());
}
