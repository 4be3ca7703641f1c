// The panel's category actions. Edits and deletes start from the stored record read by id, so a
// stale copy in the panel never writes an old sort order or total back.
#include <exception>
#include <string>

#include "DG/DGUtility.hpp"
#include "Database/CategoriesTable.hpp"
#include "Dialogs/EditCategoryDialog.hpp"
#include "Dialogs/SortCategoriesDialog.hpp"
#include "GSRoot/Debug.hpp"
#include "Palettes/CalvoraPanel.hpp"
#include "VumoFuncs/VumoFuncs.hpp"

namespace {

enum CategoryText : Int16 {
    DeleteCategoryTitle = 20,
    DeleteCategoryQuestion = 21,
    NoText = 22,
    YesText = 23,
    UntitledCategory = 24
};

// A database error ends the action where it happens: the panel is brought back in step with the
// database, the error goes to the debug output and the user is told.
template <typename Work, typename Resync>
void RunAction(const char* name, Work&& work, Resync&& resync)
{
    std::string message;
    try {
        work();
        return;
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
        message = "unknown exception";
    }
    DBPrintf("CalvoraPanel::%s: %s\n", name, message.c_str());
    try {
        resync();
    } catch (const std::exception& e) {
        DBPrintf("CalvoraPanel::%s: %s\n", name, e.what());
    } catch (...) {
    }
    DGAlert(DG::DG_ERROR, "Error", "The estimate could not be changed.", GS::UniString(message), "OK", "", "");
}

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

}  // namespace

void CalvoraPanel::AddNewCategory()
{
    const auto reload = [&] { ReloadCategories(*this); };
    RunAction("AddNewCategory", [&] {
        EditCategoryDialog dialog;
        if (dialog.GetId() == 0 || dialog.Invoke() != DG::Accept)
            return;
        const Category& edited = dialog.GetCategory();
        Category category;
        for (const char* field : {"title", "code", "descript"})
            category.setString(field, edited.getString(field));
        if (!CategoriesTable().save(category))
            return;

        const Int32 id = category.getInt("id");
        categoryMap.Put(id, category);
        categoryPopUp.AppendItem();
        const Int16 entry = categoryPopUp.GetItemCount();
        categoryPopUp.SetItemText(entry, CategoryEntryText(category));
        categoryPopUp.SetItemValue(entry, id);
        categoryPopUp.SelectItem(entry);
        descriptionText.SetText(category.getString("descript"));
        RefreshItems();
        editCategoryButton.Enable();
        deleteCategoryButton.Enable();
    }, reload);
}

void CalvoraPanel::EditCategory()
{
    const Int16 entry = categoryPopUp.GetSelectedItem();
    if (entry < 1)
        return;
    const Int32 id = static_cast<Int32>(categoryPopUp.GetItemValue(entry));
    const auto reload = [&] {
        ReloadCategories(*this);
        for (Int16 e = 1; e <= categoryPopUp.GetItemCount(); ++e) {
            if (static_cast<Int32>(categoryPopUp.GetItemValue(e)) == id) {
                categoryPopUp.SelectItem(e);
                RefreshItems();
                break;
            }
        }
    };
    RunAction("EditCategory", [&] {
        EditCategoryDialog dialog;
        if (dialog.GetId() == 0)
            return;
        dialog.SetCategory(CategoriesTable().findById(id));
        if (dialog.Invoke() != DG::Accept)
            return;
        // Only the editor's fields change; the sort order and total stay as stored.
        const Category& edited = dialog.GetCategory();
        Category category = CategoriesTable().findById(id);
        for (const char* field : {"title", "code", "descript"})
            category.setString(field, edited.getString(field));
        CategoriesTable categories;
        if (!categories.save(category))
            return;

        categoryMap.Put(id, categories.findById(id));
        categoryPopUp.SetItemText(entry, CategoryEntryText(category));
        descriptionText.SetText(category.getString("descript"));
    }, reload);
}

void CalvoraPanel::DeleteCategory()
{
    const Int16 entry = categoryPopUp.GetSelectedItem();
    if (entry < 1)
        return;
    const auto reload = [&] { ReloadCategories(*this); };
    RunAction("DeleteCategory", [&] {
        if (DGAlert(DG::DG_WARNING, GetResString(resourceId, DeleteCategoryTitle),
                    GetResString(resourceId, DeleteCategoryQuestion), "", GetResString(resourceId, NoText),
                    GetResString(resourceId, YesText), "") == 1)
            return;
        const Int32 id = static_cast<Int32>(categoryPopUp.GetItemValue(entry));
        Category stored = CategoriesTable().findById(id);
        if (!CategoriesTable().remove(stored))
            return;
        categoryMap.Delete(id);
        categoryPopUp.DeleteItem(entry);
        if (!categoryMap.IsEmpty()) {
            RefreshItems();
            return;
        }

        // The project always keeps one category.
        Category untitled;
        untitled.setString("title", GetResString(resourceId, UntitledCategory));
        if (CategoriesTable().save(untitled)) {
            const Int32 newId = untitled.getInt("id");
            categoryMap.Put(newId, untitled);
            categoryPopUp.AppendItem();
            const Int16 added = categoryPopUp.GetItemCount();
            categoryPopUp.SetItemText(added, CategoryEntryText(untitled));
            categoryPopUp.SetItemValue(added, newId);
            categoryPopUp.SelectItem(added);
            descriptionText.SetText(untitled.getString("descript"));
        }
        RefreshItems();
    }, reload);
}

void CalvoraPanel::ReorderCategories()
{
    const auto reload = [&] { ReloadCategories(*this); };
    RunAction("ReorderCategories", [&] {
        {
            SortCategoriesDialog dialog;
            if (dialog.GetId() == 0 || dialog.Invoke() != DG::Accept)
                return;
        }
        const Int16 selected = categoryPopUp.GetSelectedItem();
        const Int32 keptId = selected > 0 ? static_cast<Int32>(categoryPopUp.GetItemValue(selected)) : 0;

        categoryMap.Clear();
        categoryPopUp.DeleteItem(DG::PopUp::AllItems);
        Int16 keptEntry = 0;
        for (const Category& category : CategoriesTable().getAll()) {
            const Int32 id = category.getInt("id");
            categoryMap.Put(id, category);
            categoryPopUp.AppendItem();
            const Int16 entry = categoryPopUp.GetItemCount();
            categoryPopUp.SetItemText(entry, CategoryEntryText(category));
            categoryPopUp.SetItemValue(entry, id);
            if (id == keptId)
                keptEntry = entry;
        }
        if (categoryPopUp.GetItemCount() == 0) {
            descriptionText.SetText(GS::UniString());
        } else {
            categoryPopUp.SelectItem(keptEntry > 0 ? keptEntry : 1);
            const Category* category = SelectedCategory();
            descriptionText.SetText(category != nullptr ? category->getString("descript") : GS::UniString());
        }
        RefreshItems();
    }, reload);
}
