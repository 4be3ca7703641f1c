#pragma once
#include <functional>
#include <string>

// The host's debug output: stderr, or a capture installed by tests.
void DBPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

namespace GS {
// An empty function sends the output to stderr again.
void SetDebugCapture(std::function<void(const std::string&)> capture);
}  // namespace GS
