// The synchronisation and file-exchange commands are not built yet: choosing them does nothing.
// FileCommands.cpp and SyncAllCommand.cpp take their place.
#include "Calvora/MenuCommands.hpp"

void DoSyncAllQuantities() {}
void DoImportSql() {}
void DoImportExcel() {}
void DoExportXlsx() {}
void DoExportSql() {}
