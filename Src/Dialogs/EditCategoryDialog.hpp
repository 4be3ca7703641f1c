#pragma once
// The modal editor of a category's code, title and description. It touches no database: the caller
// reads the result back and saves it.
#include "Database/Category.hpp"
#include "Dialogs/AddOnDialog.hpp"
#include "ResourceNames.hpp"

class EditCategoryDialog : public OkCancelDialog {
public:
    static constexpr Int16 ResourceId = EditCategoryDialogItems::ResourceId;

    EditCategoryDialog();

    // The whole record (id and every field) is kept; the edits show its texts.
    void SetCategory(const Category& category);
    // Writes "title", "code" and "descript" from the edits into the kept record and returns it.
    Category& GetCategory();

    void PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted) override;
    void PanelOpened(const DG::PanelOpenEvent& ev) override;
    void PanelResized(const DG::PanelResizeEvent& ev) override;

private:
    DG::TextEdit titleEdit;
    DG::TextEdit codeEdit;
    DG::MultiLineEdit descriptionEdit;
    Category category;
};
