#pragma once
// The seven commands of the add-on's menus, run by MenuCommandHandler.

// Toggles the main palette (hiding it stores the database).
void DoShowCalvoraPalette();
// Toggles the Element Links Explorer; showing it lists the selected element's links.
void DoShowElementItemsPalette();
void DoSyncAllQuantities();
void DoImportSql();
void DoImportExcel();
void DoExportXlsx();
void DoExportSql();

// Reloads the main palette, when it exists, after the estimate was replaced or recalculated; a
// failure there goes to the debug output under the caller's name and undoes nothing.
void RefreshMainPalette(const char* where);
