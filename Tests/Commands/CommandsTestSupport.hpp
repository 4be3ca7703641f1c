#pragma once
// A stand-in host holding the commands' test model and an estimate made from SQL rows, with the
// real add-on loaded; scripts of user actions run against it and their output is compared.
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "Host/StandInHost.hpp"

namespace Commands {

constexpr const char* kWall1 = "C1000000-0000-4000-8000-000000000001";
constexpr const char* kWall2 = "C1000000-0000-4000-8000-000000000002";
constexpr const char* kSlab = "C1000000-0000-4000-8000-000000000003";
constexpr const char* kWindow = "C1000000-0000-4000-8000-000000000004";
constexpr const char* kBeam = "C1000000-0000-4000-8000-000000000005";
constexpr const char* kColumn = "C1000000-0000-4000-8000-000000000006";

// The rows kEstimateRows stores, as RowsOfImage shows them.
extern const char* const kFixtureRows;

// kEstimateRows after a full sync, and the main palette's rows before one.
extern const char* const kSyncedRows;
extern const char* const kPaletteBefore;

// Two categories; three linked quantities (stored values 1.00) and one unlinked one (value 5.00).
extern const char* const kEstimateRows;

// The commands' model (commands-model.json) with "CalvoraDB" built from the rows (INSERT
// statements run on the add-on's own empty schema, its default category removed first).
void SetUpProject(Host::StandInHost& host, const std::string& estimateRows);

// The rows of an estimate image, one line per row ("table: v1|v2|..."), in id order.
std::string RowsOfImage(const std::vector<unsigned char>& image);
std::string RowsOfSqliteShell(const std::string& dumpPath);

// A fresh directory for the test's files.
std::string TempDir(const std::string& name);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

class AddOnHost {
public:
    explicit AddOnHost(const std::string& estimateRows = kEstimateRows);
    ~AddOnHost();

    // Runs the script's lines (a modal takes the lines that follow it). Test lines, answered as
    // echoed text when the runner reaches them:
    //   @stored   the rows of the estimate the project holds now
    //   @flush    sends Close (which stores a changed estimate), then the stored rows
    //   @palette  the main palette's category entries and item rows
    //   @top N    item N of the open modal dialog, without its caret
    //   @rows     the list rows of the open modal dialog
    // Returns the runner's output, "error: ..." appended when a line failed.
    std::string Run(const std::string& script);
    std::string StoredRows() const;

    Host::StandInHost host;

private:
    std::string Hook(const std::string& line);
};

// The text without the lines that contain the part.
std::string Without(std::string rows, const std::string& part);

// The lines of the text that begin with one of the prefixes, each without its first cut characters.
std::string Lines(const std::string& text, std::initializer_list<std::string> prefixes, std::size_t cut);

// The lines of the text that contain the fragment, joined by newlines.
std::string LinesWith(const std::string& text, const std::string& fragment);

}  // namespace Commands
