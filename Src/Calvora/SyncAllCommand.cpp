#include "Calvora/MenuCommands.hpp"
#include "Dialogs/SyncAllProgressDialog.hpp"

void DoSyncAllQuantities()
{
    if (RunSyncAllQuantities())
        RefreshMainPalette();
}
