#include "Exchange/EstimateRecords.hpp"

#include <cmath>
#include <limits>

#include "VumoFuncs/VumoFuncs.hpp"

namespace {

const GS::Int16 WorkbookLabelList = 32532;

std::string Label(GS::Int16 index)
{
    return GetResString(WorkbookLabelList, index).ToCStr(CC_UTF8).Get();
}

} // namespace

WorkbookLabels ReadWorkbookLabels()
{
    WorkbookLabels labels;
    labels.code = Label(1);
    labels.category = Label(2);
    labels.total = Label(3);
    labels.grandTotal = Label(4);
    labels.categoryTotal = Label(5);
    labels.number = Label(6);
    labels.description = Label(7);
    labels.unit = Label(8);
    labels.quantity = Label(9);
    labels.price = Label(10);
    labels.author = Label(11);
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
