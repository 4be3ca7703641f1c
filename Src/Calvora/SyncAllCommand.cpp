#include "Calvora/MenuCommands.hpp"
#include "Dialogs/SyncAllProgressDialog.hpp"

void DoSyncAllQuantities()
{
    RunSyncAllQuantities();
}
