#include "Exchange/XlsxStyles.hpp"

#include <stdexcept>

namespace {

const double RegularSize = 10.0;
const double TitleSize = 14.0;
const lxw_color_t Orange = 0xFFA500;
const std::uint8_t WholeNumberFormat = 1; // built-in "0"
const std::uint8_t TwoDecimalsFormat = 2; // built-in "0.00"

enum class Weight { Regular, Bold, Title };

lxw_format* NewFormat(lxw_workbook* workbook, Weight weight)
{
    lxw_format* format = workbook_add_format(workbook);
    if (format == nullptr)
        throw std::runtime_error("Out of memory while adding a cell format.");
    format_set_font_size(format, weight == Weight::Title ? TitleSize : RegularSize);
    if (weight != Weight::Regular)
        format_set_bold(format);
    format_set_align(format, LXW_ALIGN_VERTICAL_TOP);
    return format;
}

void SetBottomBorder(lxw_format* format)
{
    format_set_bottom(format, LXW_BORDER_THIN);
    // A colour of 0 would mean "automatic"; the border is black on purpose.
    format_set_bottom_color(format, LXW_COLOR_BLACK);
}

void SetOrangeFill(lxw_format* format)
{
    format_set_pattern(format, LXW_PATTERN_SOLID);
    format_set_fg_color(format, Orange);
}

} // namespace

ExportFormats AddExportFormats(lxw_workbook* workbook, const ExportXlsOptions& options)
{
    ExportFormats f;

    f.text = NewFormat(workbook, Weight::Regular);

    f.integer = NewFormat(workbook, Weight::Regular);
    format_set_num_format_index(f.integer, WholeNumberFormat);

    f.header = NewFormat(workbook, Weight::Bold);
    SetBottomBorder(f.header);

    f.title = NewFormat(workbook, Weight::Title);

    f.wrap = NewFormat(workbook, Weight::Regular);
    format_set_text_wrap(f.wrap);

    f.amount = NewFormat(workbook, Weight::Regular);
    format_set_num_format_index(f.amount, TwoDecimalsFormat);

    f.total = NewFormat(workbook, Weight::Bold);
    format_set_num_format_index(f.total, TwoDecimalsFormat);
    SetBottomBorder(f.total);

    f.priceUnlocked = NewFormat(workbook, Weight::Regular);
    format_set_num_format_index(f.priceUnlocked, TwoDecimalsFormat);
    format_set_unlocked(f.priceUnlocked);

    f.priceMarked = NewFormat(workbook, Weight::Bold);
    format_set_num_format_index(f.priceMarked, TwoDecimalsFormat);
    SetOrangeFill(f.priceMarked);

    f.priceMarkedUnlocked = NewFormat(workbook, Weight::Bold);
    format_set_num_format_index(f.priceMarkedUnlocked, TwoDecimalsFormat);
    SetOrangeFill(f.priceMarkedUnlocked);
    format_set_unlocked(f.priceMarkedUnlocked);

    // Cells are locked unless a format unlocks them, so the seven base formats need no
    // setting of their own for a protected workbook.
    if (options.markPriceFieldsAsInput)
        f.price = options.lockAllExceptPrices ? f.priceMarkedUnlocked : f.priceMarked;
    else
        f.price = options.lockAllExceptPrices ? f.priceUnlocked : f.amount;
    return f;
}
