#pragma once
// The modal editor of a category's code, title and description. It touches no database: the caller
// reads the result back and saves it.
#include "DG/DGItems.hpp"
#include "DG/DGPanel.hpp"
#include "Database/Category.hpp"

class EditCategoryDialog : public DG::ModalDialog,
                           public DG::PanelObserver,
                           public DG::ButtonItemObserver,
                           public DG::CompoundItemObserver {
public:
    enum ItemId : Int16 {
        OkButtonId = 1,
        CancelButtonId = 2,
        CodeEditId = 4,
        TitleEditId = 6,
        DescriptionEditId = 8
    };
    static constexpr Int16 ResourceId = 32522;

    EditCategoryDialog();
    ~EditCategoryDialog() override;

    // The whole record (id and every field) is kept; the edits show its texts.
    void SetCategory(const Category& category);
    // Writes "title", "code" and "descript" from the edits into the kept record and returns it.
    Category& GetCategory();

    void PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted) override;
    void PanelOpened(const DG::PanelOpenEvent& ev) override;
    void PanelResized(const DG::PanelResizeEvent& ev) override;
    void ButtonClicked(const DG::ButtonClickEvent& ev) override;

private:
    DG::TextEdit titleEdit;
    DG::TextEdit codeEdit;
    DG::MultiLineEdit descriptionEdit;
    DG::Button okButton;
    DG::Button cancelButton;
    Category category;
};
