#include "Calvora/MenuCommands.hpp"
#include "Dialogs/SyncAllProgressDialog.hpp"

void DoSyncAllQuantities()
{
    if (RunSyncAllQuantities())
        RefreshMainPalette("DoSyncAllQuantities: refreshing the main palette");
}
