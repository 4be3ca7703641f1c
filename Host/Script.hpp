#pragma once
// Plays the user: commands from a script file or typed at a prompt.
//
// A modal dialog, alert or file dialog that a command opens takes the following lines of the same
// script (or prompt) until it closes: the runner is the dialog library's pump. When the lines run
// out first, the library closes what is open, and the run fails naming the line that opened it.
#include <climits>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "Host/StandInHost.hpp"

namespace Host {

class ScriptRunner {
public:
    ScriptRunner(StandInHost& host, std::ostream& out);
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // Runs one command line; false with a message for an unknown command, a bad argument, an action
    // the dialog library refused, or a modal left open (no further line to take it).
    bool RunLine(const std::string& line, std::string* error);
    // Runs every line; a script stops at its first error, which names the line. A prompt goes on.
    bool RunStream(std::istream& in, const std::string& sourceName, bool interactive);
    bool QuitRequested() const { return quit; }
    // Where RunStream writes its errors (standard error unless set).
    void SetErrorStream(std::ostream& stream) { errors = &stream; }
    // The line the last error of RunLine belongs to (a line taken by a modal, or the one that opened
    // a modal left open); 0 when it is the line itself.
    int ErrorLine() const { return errorLine; }

    struct Token {
        std::string text;
        bool quoted = false;
    };
    static std::vector<Token> TokenizeQuoted(const std::string& line, std::string* error);
    static std::vector<std::string> Tokenize(const std::string& line, std::string* error);
    // A whole decimal number within low..high.
    static bool ParseInt(const std::string& text, long* value, long low = LONG_MIN, long high = LONG_MAX);
    // Sets the error and gives false, for a command that refuses.
    static bool Refuse(std::string* error, const std::string& message);
    static std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

private:
    struct Frame {
        int line = 0;
        std::string announced;     // what waited for the user when this line last handed over
        std::string confirmation;  // printed once the action took effect
        std::vector<std::string> dialogs;  // the modal dialogs this line opened, closed when it ends
    };
    struct Source {
        std::istream* in = nullptr;
        std::string name;
        bool interactive = false;
        int lineNo = 0;
    };
    struct LineError {
        int line = 0;
        std::string message;
    };

    // A command: the numbers of arguments it takes, the refusal for any other number, and what it
    // does with the line's tokens (t[0] is its name).
    struct Command {
        const char* name;
        std::size_t minArgs;
        std::size_t maxArgs;
        const char* usage;
        bool waitsForModal;  // the project and the add-on's menus wait while a modal window has the user
        std::function<bool(ScriptRunner& runner, const std::vector<Token>& t, std::string* error)> run;
    };
    static constexpr std::size_t kAnyNumber = SIZE_MAX;
    static const std::vector<Command>& HostCommands();    // Script.cpp
    static const std::vector<Command>& DialogCommands();  // ScriptDialogs.cpp

    bool Execute(const std::string& line, int lineNo, std::string* error);
    bool Dispatch(const std::vector<Token>& t, std::string* error);
    bool Show(const std::vector<Token>& t, std::string* error);
    bool ShowDialogs(const std::string& what, std::string* error);
    bool ElementCommand(const std::vector<Token>& t, std::string* error);
    bool PaletteCommand(const std::vector<Token>& t, std::string* error);

    // The pump: takes the next line for the modal dialog, alert or file dialog that waits.
    bool Pump();
    void Announce();
    // What waits for the user ("" when nothing modal is open) and how to name it.
    static std::string Waiting(std::string* name);
    void Confirm(const std::string& text);
    void FlushConfirmation();

    StandInHost& host;
    std::ostream& out;
    std::ostream* errors;
    bool quit = false;
    int errorLine = 0;
    Source* source = nullptr;
    std::vector<Frame> running;  // the lines being run, innermost last (a modal nests them)
    std::vector<LineError> abandoned;
    LineError failure;  // the first error of a line a modal took, which ends a script
    bool failed = false;
    std::function<bool()> previousPump;
};

}  // namespace Host
