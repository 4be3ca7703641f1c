#include "Calvora/MenuCommands.hpp"

#include "Palettes/CalvoraPalette.hpp"
#include "Palettes/ElementItemsPalette.hpp"

void DoShowCalvoraPalette()
{
    if (CalvoraPalette::HasInstance() && CalvoraPalette::GetInstance().IsVisible()) {
        CalvoraPalette::GetInstance().Hide();
        return;
    }
    if (!CalvoraPalette::HasInstance())
        CalvoraPalette::CreateInstance();
    CalvoraPalette::GetInstance().Show();
}

void DoShowElementItemsPalette()
{
    if (ElementItemsPalette::HasInstance() && ElementItemsPalette::GetInstance().IsVisible()) {
        ElementItemsPalette::GetInstance().Hide();
        return;
    }
    if (!ElementItemsPalette::HasInstance())
        ElementItemsPalette::CreateInstance();
    ElementItemsPalette& palette = ElementItemsPalette::GetInstance();
    palette.Show();
    palette.RefreshFromSelection();
}
