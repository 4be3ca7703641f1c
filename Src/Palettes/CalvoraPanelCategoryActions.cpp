// The panel's category actions. Edits and deletes start from the stored record read by id, so a
// stale copy in the panel never writes an old sort order or total back.
#include "Database/CategoriesTable.hpp"
#include "Dialogs/EditCategoryDialog.hpp"
#include "Dialogs/SortCategoriesDialog.hpp"
#include "Palettes/CalvoraPanel.hpp"
#include "ResourceNames.hpp"
#include "VumoFuncs/VumoFuncs.hpp"

namespace Texts = CalvoraPaletteStrings;

namespace {

// The panel read again after a failed action; when even that fails, it shows no category rather
// than the items of one it no longer lists.
void ReloadCategories(CalvoraPanel& panel)
{
    try {
        panel.RefreshCategories();
    } catch (...) {
        panel.RefreshItems();
        throw;
    }
}

// Only the editor's fields change; the sort order and total stay as stored.
void CopyFields(const Category& from, Category& to)
{
    for (const char* field : {"title", "code", "descript"})
        to.setString(field, from.getString(field));
}

}  // namespace

void CalvoraPanel::AddNewCategory()
{
    RunAction("CalvoraPanel::AddNewCategory", [&] {
        EditCategoryDialog dialog;
        if (dialog.GetId() == 0 || dialog.Invoke() != DG::Accept)
            return;
        Category category;
        CopyFields(dialog.GetCategory(), category);
        if (!CategoriesTable().save(category))
            return;
        categoryPopUp.SelectItem(AppendCategoryEntry(category));
        RefreshItems();
    }, [&] { ReloadCategories(*this); });
}

void CalvoraPanel::EditCategory()
{
    const Int16 entry = categoryPopUp.GetSelectedItem();
    if (entry < 1)
        return;
    const Int32 id = static_cast<Int32>(categoryPopUp.GetItemValue(entry));
    RunAction("CalvoraPanel::EditCategory", [&] {
        CategoriesTable categories;
        EditCategoryDialog dialog;
        if (dialog.GetId() == 0)
            return;
        dialog.SetCategory(categories.findById(id));
        if (dialog.Invoke() != DG::Accept)
            return;
        Category category = categories.findById(id);
        CopyFields(dialog.GetCategory(), category);
        if (!categories.save(category))
            return;
        categoryMap.Put(id, categories.findById(id));
        categoryPopUp.SetItemText(entry, CategoryEntryText(category));
        descriptionText.SetText(category.getString("descript"));
    }, [&] {
        ReloadCategories(*this);
        if (SelectCategory(id))
            RefreshItems();
    });
}

void CalvoraPanel::DeleteCategory()
{
    const Int16 entry = categoryPopUp.GetSelectedItem();
    if (entry < 1)
        return;
    RunAction("CalvoraPanel::DeleteCategory", [&] {
        if (!AskYesNo(Texts::DeleteCategoryTitle, Texts::DeleteCategoryQuestion))
            return;
        const Int32 id = static_cast<Int32>(categoryPopUp.GetItemValue(entry));
        CategoriesTable categories;
        Category stored = categories.findById(id);
        if (!categories.remove(stored))
            return;
        categoryMap.Delete(id);
        categoryPopUp.DeleteItem(entry);
        // The project always keeps one category.
        if (categoryMap.IsEmpty()) {
            Category untitled;
            untitled.setString("title", GetResString(resourceId, Texts::UntitledCategory));
            if (categories.save(untitled))
                categoryPopUp.SelectItem(AppendCategoryEntry(untitled));
        }
        RefreshItems();
    }, [&] { ReloadCategories(*this); });
}

void CalvoraPanel::ReorderCategories()
{
    RunAction("CalvoraPanel::ReorderCategories", [&] {
        {
            SortCategoriesDialog dialog;
            if (dialog.GetId() == 0 || dialog.Invoke() != DG::Accept)
                return;
        }
        const Int16 selected = categoryPopUp.GetSelectedItem();
        const Int32 keptId = selected > 0 ? static_cast<Int32>(categoryPopUp.GetItemValue(selected)) : 0;
        LoadCategories();
        if (!SelectCategory(keptId) && categoryPopUp.GetItemCount() > 0)
            categoryPopUp.SelectItem(1);
        RefreshItems();
    }, [&] { ReloadCategories(*this); });
}
