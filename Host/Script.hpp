#pragma once
// Plays the user: commands from a script file or typed at a prompt.
#include <iosfwd>
#include <string>
#include <vector>

#include "Host/StandInHost.hpp"

namespace Host {

class ScriptRunner {
public:
    ScriptRunner(StandInHost& host, std::ostream& out) : host(host), out(out) {}

    // Runs one command line; false with a message for an unknown command or a bad argument.
    bool RunLine(const std::string& line, std::string* error);
    // Runs every line; a script stops at its first error, which names the line. A prompt goes on.
    bool RunStream(std::istream& in, const std::string& sourceName, bool interactive);
    bool QuitRequested() const { return quit; }

    static std::vector<std::string> Tokenize(const std::string& line, std::string* error);

private:
    StandInHost& host;
    std::ostream& out;
    bool quit = false;
};

}  // namespace Host
