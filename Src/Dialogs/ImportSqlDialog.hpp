#pragma once
#include "Dialogs/AddOnDialog.hpp"
#include "IO/Location.hpp"
#include "ResourceNames.hpp"

// Asks for the SQL file to import (typed or browsed; OK only for a file that exists) and whether
// to leave out the quantities linked to model elements.
class ImportSqlDialog : public OkCancelDialog {
public:
    static constexpr GS::Int16 ResourceId = ImportSqlDialogItems::ResourceId;
    static constexpr GS::Int16 TextsId = ImportSqlDialogStrings::ListId;

    ImportSqlDialog();

    IO::Location GetLocation() const;
    bool IsSkipLinkedQties() const { return skipLinked.IsChecked(); }

private:
    void PanelResized(const DG::PanelResizeEvent& ev) override;
    void PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted) override;
    void ButtonClicked(const DG::ButtonClickEvent& ev) override;
    void Browse();

    DG::StaticText fileLabel;
    DG::TextEdit fileName;
    DG::Button browseButton;
    DG::CheckBox skipLinked;
};
