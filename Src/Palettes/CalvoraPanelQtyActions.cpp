// The panel's quantity actions, and zooming to and selecting the elements quantities link to.
// Quantities are saved and removed from their stored records read by id.
#include "DG/DGUtility.hpp"
#include "Database/QtiesTable.hpp"
#include "Dialogs/EditQtyDialog.hpp"
#include "ElementFuncs/QtyEvaluation.hpp"
#include "GSRoot/Debug.hpp"
#include "GSRoot/Guid.hpp"
#include "HostApi/HostCalls.hpp"
#include "Palettes/CalvoraPanel.hpp"
#include "ResourceNames.hpp"
#include "VumoFuncs/VumoFuncs.hpp"

namespace Texts = CalvoraPaletteStrings;

namespace {

API_Guid ParseGuid(const GS::UniString& text)
{
    return GSGuid2APIGuid(GS::Guid(text.ToCStr(CC_Default).Get()));
}

// One of several edited rows takes the new formula with the value it gives for the row's own
// element, or without one when unlinked. An unlinked row whose new formula needs an element keeps
// its formula and value: false, the evaluator's message in errorText. An empty formula gives no
// value, so the value stays.
bool TakeFormula(Qty& qty, const GS::UniString& formula)
{
    const GS::UniString previous = qty.getString("formula");
    qty.setString("formula", formula);
    double value = qty.getDouble("value");
    if (!qty.getString("guid").IsEmpty()) {
        value = QtyFormulaValue(qty, true);
    } else if (!formula.IsEmpty() && !EvaluateQtyFormula(qty, &value, true)) {
        qty.setString("formula", previous);
        return false;
    }
    qty.setDouble("value", value);
    return true;
}

}  // namespace

void CalvoraPanel::AddQtyItem()
{
    const Int16 itemRow = itemsList.GetSelectedItem();
    if (itemRow < 1)
        return;
    const Int32 itemId = static_cast<Int32>(itemsList.GetItemValue(itemRow));
    RunAction("CalvoraPanel::AddQtyItem", [&] {
        VumoElementsList elements;
        if (!ReadSelectionOfOneType(elements))
            return;
        EditQtyDialog dialog;
        if (!elements.IsEmpty()) {
            dialog.SetElement(elements[0]);
            dialog.SetSelectedCount(elements.GetSize());
        }
        if (dialog.GetId() == 0 || dialog.Invoke() != DG::Accept)
            return;

        const Qty& edited = dialog.GetQty();
        Qty qtyTemplate;
        qtyTemplate.setInt("item_id", itemId);
        qtyTemplate.setString("descript", edited.getString("descript"));
        qtyTemplate.setString("formula", edited.getString("formula"));
        qtyTemplate.setDouble("value", edited.getDouble("value"));
        AddQties(qtyTemplate, elements, elements.IsEmpty() || dialog.IsUnlinked());
        ReloadItemRow(itemRow, itemId);
        OnItemSelected();
        UpdateTotal();
    }, [&] { ReloadAndShowItem(itemId); });
}

void CalvoraPanel::EditQty()
{
    RunQtyAction("CalvoraPanel::EditQty", [&](const GS::Array<Int16>& rows) {
        QtiesTable qties;
        EditQtyDialog dialog;
        if (dialog.GetId() == 0)
            return false;
        dialog.SetQty(qties.findById(static_cast<Int32>(qtiesList.GetItemValue(rows[0]))));
        if (dialog.Invoke() != DG::Accept)
            return false;
        const Qty& edited = dialog.GetQty();
        const GS::UniString descript = edited.getString("descript");
        const GS::UniString formula = edited.getString("formula");
        const double value = edited.getDouble("value");

        const bool several = rows.GetSize() > 1;
        if (several && !AskYesNo(Texts::EditQtiesTitle, Texts::EditQtiesQuestion))
            return false;
        for (Int16 row : rows) {
            const Int32 id = static_cast<Int32>(qtiesList.GetItemValue(row));
            Qty qty = qties.findById(id);
            qty.setString("descript", descript);
            if (!several) {
                qty.setString("formula", formula);
                qty.setDouble("value", value);
            } else if (!TakeFormula(qty, formula)) {
                DBPrintf("CalvoraPanel::EditQty: row %d (quantity %d) keeps its formula and value, the new formula "
                         "needs an element: %s\n", static_cast<int>(row), static_cast<int>(id), qty.errorText);
            }
            if (!qties.save(qty))
                continue;
            if (Qty* record = qtyMap.GetPtr(id))
                qty.linkStatus = record->linkStatus;
            qtyMap.Put(id, qty);
            SetQtyRow(row);
        }
        return true;
    });
}

void CalvoraPanel::DeleteQties()
{
    const Int16 itemRow = itemsList.GetSelectedItem();
    const Int32 itemId = itemRow > 0 ? static_cast<Int32>(itemsList.GetItemValue(itemRow)) : 0;
    RunQtyAction("CalvoraPanel::DeleteQties", [&](const GS::Array<Int16>& rows) {
        if (!AskYesNo(Texts::DeleteQtyTitle, Texts::DeleteQtyQuestion))
            return false;
        QtiesTable qties;
        GS::Array<Qty> doomed;
        for (Int16 row : rows)
            doomed.Push(qties.findById(static_cast<Int32>(qtiesList.GetItemValue(row))));
        GS::HashTable<Int32, bool> removed;
        for (Int32 id : qties.removeAll(doomed))
            removed.Put(id, true);
        for (Int16 row = qtiesList.GetItemCount(); row >= 1; --row)
            if (removed.ContainsKey(static_cast<Int32>(qtiesList.GetItemValue(row))))
                qtiesList.DeleteItem(row);
        qtyMap = qties.findWhere("item_id", itemId);
        for (Int16 row = 1; row <= qtiesList.GetItemCount(); ++row)
            SetQtyRow(row);
        UpdateQtyButtons();
        return true;
    });
}

void CalvoraPanel::ReloadQties()
{
    RunQtyAction("CalvoraPanel::ReloadQties", [&](const GS::Array<Int16>& rows) {
        QtiesTable qties;
        for (Int16 row : rows) {
            const Int32 id = static_cast<Int32>(qtiesList.GetItemValue(row));
            Qty* record = qtyMap.GetPtr(id);
            if (record == nullptr || record->getString("guid").IsEmpty())
                continue;
            Qty qty = qties.findById(id);
            qty.setDouble("value", QtyFormulaValue(qty, true));
            if (!qties.save(qty))
                continue;
            UpdateQtyLinkStatus(qty);
            qtyMap.Put(id, qty);
            SetQtyRow(row);
        }
        qtiesList.Redraw();
        return true;
    });
}

void CalvoraPanel::ZoomToLinkedElement()
{
    const GS::Array<Int16> rows = qtiesList.GetSelectedItems();
    if (rows.IsEmpty())
        return;
    GS::Array<API_Guid> guids;
    for (Int16 row : rows) {
        const Qty* qty = qtyMap.GetPtr(static_cast<Int32>(qtiesList.GetItemValue(row)));
        if (qty != nullptr && !qty->getString("guid").IsEmpty())
            guids.Push(ParseGuid(qty->getString("guid")));
    }
    if (HostZoomToElements(guids) != NoError)
        return;
    GS::Array<API_Neig> neigs;
    for (const API_Guid& guid : guids) {
        API_Neig neig{};
        neig.guid = guid;
        neigs.Push(neig);
    }
    if (HostSelectElements(neigs, true) != NoError)
        DGAlert(DG::DG_ERROR, GetResString(resourceId, Texts::ZoomTitle),
                GetResString(resourceId, Texts::SelectFailedText), "", GetResString(resourceId, Texts::OkText), "", "");
}
