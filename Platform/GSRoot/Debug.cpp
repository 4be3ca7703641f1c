#include "GSRoot/Debug.hpp"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {
std::function<void(const std::string&)>& Capture()
{
    static std::function<void(const std::string&)> capture;
    return capture;
}
}  // namespace

void DBPrintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (n > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        text.assign(buffer.data(), static_cast<std::size_t>(n));
    }
    va_end(args);
    if (Capture())
        Capture()(text);
    else
        std::fputs(text.c_str(), stderr);
}

namespace GS {
void SetDebugCapture(std::function<void(const std::string&)> capture) { Capture() = std::move(capture); }
}  // namespace GS
