#include "ElementFuncs/QtyEvaluation.hpp"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstring>
#include <string>

#include "HostApi/HostHandles.hpp"
#include "ElementFuncs/ElementFormulaContext.hpp"
#include "ElementFuncs/ElementFuncsFactory.hpp"
#include "GSRoot/Guid.hpp"
#include "GSRoot/Memory.hpp"

namespace {

// Below this difference a stored value counts as current.
constexpr double LinkTolerance = 0.000001;

API_Guid ParseGuid(const GS::UniString& text)
{
    return GSGuid2APIGuid(GS::Guid(text.ToCStr(CC_Default).Get()));
}

bool ReadHeader(const API_Guid& guid, API_Elem_Head* header)
{
    std::memset(header, 0, sizeof *header);
    header->guid = guid;
    return HostGetElementHeader(header, 0) == NoError;
}

bool ReadElement(const API_Guid& guid, API_Element* element)
{
    std::memset(element, 0, sizeof *element);
    element->header.guid = guid;
    return HostGetElement(element, 0) == NoError;
}

bool SwitchToModelDatabase()
{
    HostDatabaseInfo model;
    std::memset(&model, 0, sizeof model);
    model.typeID = APIWind_3DModelID;
    return HostChangeDatabase(&model) == NoError;
}

// Switches to the user's locale and back; the restore also runs when something throws.
class LocaleSwitch {
public:
    explicit LocaleSwitch(bool active) : active(active)
    {
        if (!active)
            return;
        const char* current = std::setlocale(LC_ALL, nullptr);
        kept = current != nullptr ? current : "C";
        std::setlocale(LC_ALL, "");
    }
    ~LocaleSwitch() { Restore(); }
    void Restore()
    {
        if (active)
            std::setlocale(LC_ALL, kept.c_str());
        active = false;
    }

private:
    bool active;
    std::string kept;
};

// Switches back to the kept database when a switch was made.
class DatabaseRestore {
public:
    DatabaseRestore() { std::memset(&kept, 0, sizeof kept); }
    ~DatabaseRestore() { Restore(); }
    void Keep() { HostGetCurrentDatabase(&kept); }
    void Switched() { switched = true; }
    const HostDatabaseInfo& Kept() const { return kept; }
    void Restore()
    {
        if (switched)
            HostChangeDatabase(&kept);
        switched = false;
    }

private:
    HostDatabaseInfo kept;
    bool switched = false;
};

// Name of the element's place: its story on a floor plan, else its database's name.
GS::UniString LocationName(const API_Guid& guid)
{
    HostDatabaseInfo database;
    std::memset(&database, 0, sizeof database);
    if (HostGetContainingDatabase(guid, &database) != NoError)
        return GS::UniString();
    if (database.typeID != APIWind_FloorPlanID)
        return ElementFuncsUtil::FieldText(database.name, sizeof database.name);

    API_Elem_Head header;
    if (!ReadHeader(guid, &header))
        return GS::UniString();
    HostStoryInfo stories;
    std::memset(&stories, 0, sizeof stories);
    if (HostGetStorySettings(&stories) != NoError)
        return GS::UniString();
    GS::UniString name;
    const HeldHandle<HostStoryType> storyList(stories.data);
    if (stories.data != nullptr) {
        const GSSize held = HandleRecords(stories.data);
        const GSSize listed = static_cast<GSSize>(stories.lastStory) - stories.firstStory + 1;
        const GSSize count = std::min(held, std::max<GSSize>(listed, 0));
        for (GSSize i = 0; i < count; ++i) {
            const HostStoryType& story = (*stories.data)[i];
            if (story.index == header.floorInd) {
                name = ElementFuncsUtil::FieldText(story.name, sizeof story.name);
                break;
            }
        }
    }
    return name;
}

}  // namespace

bool EvaluateQtyFormula(Qty& qty, double* value, bool switchLocale)
{
    const GS::UniString formula = qty.getString("formula");
    if (formula.IsEmpty()) {
        if (value != nullptr)
            *value = 0.0;
        return true;
    }

    LocaleSwitch locale(switchLocale);  // before the context: it takes its separators from the locale
    DatabaseRestore database;
    // Records the context points to; they live until the evaluation ends.
    API_Element element;
    API_Element parent;
    ElementFormulaContext context;
    Math_SetTrace(&context, false);

    const GS::UniString guidText = qty.getString("guid");
    if (!guidText.IsEmpty()) {
        const API_Guid guid = ParseGuid(guidText);
        if (ReadElement(guid, &element)) {
            database.Keep();
            API_Elem_Head header;
            if (ReadHeader(guid, &header) && header.typeID == API_SectElemID) {
                // A section element stands for its parent, read in the model database.
                if (SwitchToModelDatabase()) {
                    database.Switched();
                    if (ReadElement(element.sectElem.parentGuid, &parent)) {
                        context.SetElement(&parent);
                        GetElementFuncsFactory().SetVariables(parent, context);
                    }
                }
            } else {
                if (database.Kept().typeID == APIWind_SectionID && SwitchToModelDatabase())
                    database.Switched();
                context.SetElement(&element);
                GetElementFuncsFactory().SetVariables(element, context);
            }
        }
    }

    double result = 0.0;
    const std::string text = formula.ToCStr(CC_UTF8).Get();
    const Math_Error code = Math_Evaluate(&context, text.c_str(), &result);

    locale.Restore();
    database.Restore();

    qty.setErrorText(nullptr);
    if (code != Math_NoError)
        qty.setErrorText(context.message != nullptr ? context.message : "");
    else if (value != nullptr)
        *value = result;
    return code == Math_NoError;
}

double QtyFormulaValue(Qty& qty, bool switchLocale)
{
    double value = 0.0;
    if (!EvaluateQtyFormula(qty, &value, switchLocale))
        return 0.0;
    return value;
}

QtyLinkStatus ComputeQtyLinkStatus(Qty& qty)
{
    const GS::UniString guidText = qty.getString("guid");
    if (guidText.IsEmpty())
        return LinkNotLinked;
    API_Elem_Head header;
    if (!ReadHeader(ParseGuid(guidText), &header))
        return LinkElementMissing;
    double value = 0.0;
    if (!EvaluateQtyFormula(qty, &value, true))
        value = 0.0;
    return std::fabs(value - qty.getDouble("value")) < LinkTolerance ? LinkUpToDate : LinkOutdated;
}

void UpdateQtyLinkStatus(Qty& qty)
{
    qty.linkStatus = ComputeQtyLinkStatus(qty);
}

GS::UniString QtyDisplayDescription(const Qty& qty)
{
    GS::UniString text = qty.getString("descript");
    const GS::UniString guidText = qty.getString("guid");
    const bool hasId = text.Contains("#ID");
    const bool hasLoc = text.Contains("#LOC");
    if ((!hasId && !hasLoc) || guidText.IsEmpty())
        return text;
    const API_Guid guid = ParseGuid(guidText);

    if (hasId) {
        GS::UniString id;
        if (HostGetElementInfoString(guid, &id) == NoError)
            text.ReplaceAll("#ID", id);
    }
    if (hasLoc) {
        const GS::UniString location = LocationName(guid);
        if (!location.IsEmpty())
            text.ReplaceAll("#LOC", location);
    }
    return text;
}
