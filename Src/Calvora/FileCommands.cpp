// The menu commands that move the estimate out to and in from SQL dumps and XLSX workbooks.
#include <string>

#include "Calvora/MenuCommands.hpp"
#include "DG/DGUtility.hpp"
#include "Database/ProjectDatabase.hpp"
#include "Dialogs/ExportXlsDialog.hpp"
#include "Dialogs/FileTypeFilter.hpp"
#include "Dialogs/ImportSqlDialog.hpp"
#include "Exchange/XlsxExport.hpp"
#include "Exchange/XlsxImport.hpp"
#include "HostApi/Guard.hpp"
#include "IO/Location.hpp"

namespace {
const char* const kSqlCreateFailed = "Could not create the SQL file. Please check the file path and permissions.";
const char* const kSqlOpenFailed = "Could not open the SQL file.";
const char* const kSqlImported = "SQL file imported successfully!";
const char* const kSqlImportFailed = "Failed to import the SQL file.";
const char* const kXlsxExported = "Excel file exported successfully!";
const char* const kXlsxCreateFailed = "Could not create the XLSX file. Please check the file path and permissions.";
const char* const kExcelImported = "Excel file imported successfully!";
const char* const kExcelImportFailed = "Could not import the Excel file. Make sure it was exported by Calvora.";

void ErrorAlert(const char* text)
{
    DGAlert(DG::DG_ERROR, "Error", text, "", "OK");
}

void SuccessAlert(const char* text)
{
    DGAlert(DG::DG_INFORMATION, "Success", text, "", "OK");
}

// A command that fails by an exception tells the user with its own error alert; nothing leaves
// for the host.
template <typename F>
void RunCommand(const char* name, const char* errorText, F&& body)
{
    if (!Guarded(name, body))
        FailureAlert(name, errorText, "");
}

// The file ends up holding exactly the bytes, or stays as it was: the write goes beside the
// target and takes its place only when the close succeeds, and a failed write is never closed.
bool WriteWholeFile(const IO::Location& location, const std::string& bytes)
{
    IO::File file(location, IO::File::Create);
    if (file.GetStatus() != NoError || file.Open(IO::File::WriteEmptyMode) != NoError)
        return false;
    GS::USize written = 0;
    if (file.WriteBin(bytes.data(), static_cast<GS::USize>(bytes.size()), &written) != NoError || written != bytes.size())
        return false;
    return file.Close() == NoError;
}

bool ReadWholeFile(const IO::Location& location, std::string* bytes)
{
    IO::File file(location, IO::File::Fail);
    if (file.GetStatus() != NoError || file.Open(IO::File::ReadMode) != NoError)
        return false;
    GS::UInt64 length = 0;
    if (file.GetDataLength(&length) != NoError || length > static_cast<GS::UInt64>(bytes->max_size()))
        return false;
    bytes->assign(static_cast<std::size_t>(length), '\0');
    GS::USize read = 0;
    if (length > 0 && (file.ReadBin(&(*bytes)[0], static_cast<GS::USize>(length), &read) != NoError || read != length))
        return false;
    file.Close();
    return true;
}
}  // namespace

void DoExportSql()
{
    RunCommand("DoExportSql", kSqlCreateFailed, [] {
        IO::Location location;
        if (!AskForFile(DG::FileDialog::Save, "Export to SQL", "SQL files", "sql", &location))
            return;
        // The dump is made before the file is touched, so a failed dump leaves the file as it was.
        GS::UniString dump;
        ProjectDatabase::instance().dumpSql(dump);
        const std::string bytes = dump.ToUtf8();
        if (bytes.empty() || !WriteWholeFile(location, bytes))
            ErrorAlert(kSqlCreateFailed);
    });
}

void DoImportSql()
{
    RunCommand("DoImportSql", kSqlImportFailed, [] {
        ImportSqlDialog dialog;
        if (dialog.GetId() == 0 || dialog.Invoke() != DG::Accept)
            return;
        std::string bytes;
        if (!ReadWholeFile(dialog.GetLocation(), &bytes)) {
            ErrorAlert(kSqlOpenFailed);
            return;
        }
        // A zero byte would cut the text short and import only a part of the file.
        if (bytes.find('\0') != std::string::npos) {
            ErrorAlert(kSqlImportFailed);
            return;
        }
        ProjectDatabase& db = ProjectDatabase::instance();
        if (!db.replaceWithSql(GS::UniString(bytes, CC_UTF8_Edge), !dialog.IsSkipLinkedQties())) {
            ErrorAlert(kSqlImportFailed);
            return;
        }
        db.saveToProject();
        RefreshMainPalette("refreshing the main palette");
        SuccessAlert(kSqlImported);
    });
}

void DoExportXlsx()
{
    RunCommand("DoExportXlsx", kXlsxCreateFailed, [] {
        ExportXlsOptions options;
        {
            ExportXlsDialog dialog;
            if (dialog.GetId() == 0 || dialog.Invoke() != DG::Accept)
                return;
            options.doNotExportPrices = dialog.IsDoNotExportPrices();
            options.markPriceFieldsAsInput = dialog.IsMarkPriceFieldsAsInput();
            options.lockAllExceptPrices = dialog.IsLockAllExceptPrices();
        }
        IO::Location location;
        if (!AskForFile(DG::FileDialog::Save, "Export to XLSX", "XLSX files", "xlsx", &location))
            return;
        if (ExportXlsx(location, options))
            SuccessAlert(kXlsxExported);
        else
            ErrorAlert(kXlsxCreateFailed);
    });
}

void DoImportExcel()
{
    RunCommand("DoImportExcel", kExcelImportFailed, [] {
        IO::Location location;
        if (!AskForFile(DG::FileDialog::OpenFile, "Import from Excel", "Excel files", "xlsx", &location))
            return;
        const GS::Int16 answer = DGAlert(DG::DG_WARNING, "Import Excel",
                                     "This will replace ALL current data with the contents of the Excel file.\n"
                                     "Are you sure?",
                                     "", "Cancel", "Import");
        if (answer != 2)  // "Cancel", or the alert closed without an answer
            return;
        if (ImportXlsx(location)) {
            RefreshMainPalette("refreshing the main palette");
            SuccessAlert(kExcelImported);
        } else {
            ErrorAlert(kExcelImportFailed);
        }
    });
}
