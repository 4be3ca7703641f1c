// calvora-host: loads the add-on into the stand-in host and plays the user from a script or a prompt.
#include <fstream>
#include <iostream>
#include <string>
#include <unistd.h>

#include "Host/Script.hpp"
#include "Host/StandInHost.hpp"

namespace {
int Usage()
{
    std::cerr << "usage: calvora-host [--addon LIBRARY] [--script FILE] [PROJECT]\n"
                 "  Without --script the commands are read from standard input.\n";
    return 2;
}
}  // namespace

int main(int argc, char** argv)
{
    std::string addOnPath = CALVORA_DEFAULT_ADDON;
    std::string scriptPath;
    std::string projectPath;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--addon" && i + 1 < argc)
            addOnPath = argv[++i];
        else if (arg == "--script" && i + 1 < argc)
            scriptPath = argv[++i];
        else if (arg == "--help" || arg == "-h")
            return Usage(), 0;
        else if (!arg.empty() && arg[0] != '-' && projectPath.empty())
            projectPath = arg;
        else
            return Usage();
    }

    Host::StandInHost host;
    std::string error;
    if (!host.LoadAddOn(addOnPath, &error)) {
        std::cerr << "calvora-host: " << error << '\n';
        return 1;
    }
    std::cout << "loaded add-on " << host.AddOn().name << " (" << host.AddOn().description << ")\n";
    if (!projectPath.empty()) {
        if (!host.OpenProject(projectPath, &error)) {
            std::cerr << "calvora-host: " << error << '\n';
            return 1;
        }
        std::cout << "opened " << projectPath << '\n';
    }

    Host::ScriptRunner runner(host, std::cout);
    bool ok;
    if (!scriptPath.empty()) {
        std::ifstream script(scriptPath);
        if (!script) {
            std::cerr << "calvora-host: cannot read script '" << scriptPath << "'\n";
            return 1;
        }
        ok = runner.RunStream(script, scriptPath, false);
    } else {
        ok = runner.RunStream(std::cin, "stdin", isatty(0) != 0);
    }
    host.UnloadAddOn();
    return ok ? 0 : 1;
}
