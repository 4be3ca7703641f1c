#include "Exchange/EstimateRecords.hpp"

#include <cmath>
#include <limits>

#include "ResourceNames.hpp"
#include "VumoFuncs/VumoFuncs.hpp"

namespace {

namespace Texts = WorkbookLabelStrings;

std::string Label(GS::Int16 index)
{
    return GetResString(Texts::ListId, index).ToCStr(CC_UTF8).Get();
}

} // namespace

WorkbookLabels ReadWorkbookLabels()
{
    WorkbookLabels labels;
    labels.code = Label(Texts::Code);
    labels.category = Label(Texts::Category);
    labels.total = Label(Texts::Total);
    labels.grandTotal = Label(Texts::GrandTotal);
    labels.categoryTotal = Label(Texts::CategoryTotal);
    labels.number = Label(Texts::Number);
    labels.description = Label(Texts::Description);
    labels.unit = Label(Texts::Unit);
    labels.quantity = Label(Texts::Quantity);
    labels.price = Label(Texts::Price);
    labels.author = Label(Texts::Author);
    return labels;
}

GS::Int32 SaturateToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<GS::Int32>::max()))
        return std::numeric_limits<GS::Int32>::max();
    if (value <= static_cast<double>(std::numeric_limits<GS::Int32>::min()))
        return std::numeric_limits<GS::Int32>::min();
    return static_cast<GS::Int32>(std::trunc(value));
}

GS::Int32 SaturateToInt32(std::int64_t value)
{
    if (value > std::numeric_limits<GS::Int32>::max())
        return std::numeric_limits<GS::Int32>::max();
    if (value < std::numeric_limits<GS::Int32>::min())
        return std::numeric_limits<GS::Int32>::min();
    return static_cast<GS::Int32>(value);
}
