// The workbook module: writes an exchange::xlsx::Sheet as an .xlsx file with libxlsxwriter.
// A module of its own, loaded when a workbook is exported, so that the program does not
// load the writer and its libraries (compression, cryptography) at every start.
#include "exchange/XlsxSheet.h"

#include <xlsxwriter.h>

using exchange::xlsx::Cell;

namespace {

struct Formats {
    lxw_format* money = nullptr;
    lxw_format* date = nullptr;
    lxw_format* dateTime = nullptr;
};

void writeCell(lxw_worksheet* sheet, lxw_row_t r, lxw_col_t c, const Cell& cell, const Formats& formats)
{
    switch (cell.kind) {
        case Cell::Kind::Empty:
            break;
        case Cell::Kind::Text:
            worksheet_write_string(sheet, r, c, cell.text.c_str(), nullptr);
            break;
        case Cell::Kind::Number:
            worksheet_write_number(sheet, r, c, cell.number, nullptr);
            break;
        case Cell::Kind::Money:
            worksheet_write_number(sheet, r, c, cell.number, formats.money);
            break;
        case Cell::Kind::Bool:
            worksheet_write_boolean(sheet, r, c, cell.yes, nullptr);
            break;
        case Cell::Kind::Date:
        case Cell::Kind::DateTime: {
            lxw_datetime when = {cell.year, cell.month,  cell.day,
                                 cell.hour, cell.minute, double(cell.second)};
            worksheet_write_datetime(sheet, r, c, &when,
                                     cell.kind == Cell::Kind::Date ? formats.date : formats.dateTime);
            break;
        }
    }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void orvaneWriteXlsx(const exchange::xlsx::Sheet* data,
                                                                       const char* path, std::string* error)
{
    lxw_workbook* book = workbook_new(path);
    if (!book) {
        *error = "the workbook could not be created";
        return;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(book, data->title.c_str());
    lxw_format* header = workbook_add_format(book);
    format_set_bold(header);
    format_set_bottom(header, LXW_BORDER_THIN);
    Formats formats;
    formats.money = workbook_add_format(book);
    format_set_num_format(formats.money, "$#,##0.00;($#,##0.00)");
    formats.date = workbook_add_format(book);
    format_set_num_format(formats.date, "d mmm yyyy");
    formats.dateTime = workbook_add_format(book);
    format_set_num_format(formats.dateTime, "d mmm yyyy hh:mm");
    for (size_t c = 0; c < data->columns.size(); ++c) {
        const auto& col = data->columns[c];
        worksheet_write_string(sheet, 0, lxw_col_t(c), col.caption.c_str(), header);
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), col.width, nullptr);
    }
    worksheet_freeze_panes(sheet, 1, 0);
    for (size_t r = 0; r < data->rows.size(); ++r)
        for (size_t c = 0; c < data->rows[r].size(); ++c)
            writeCell(sheet, lxw_row_t(r + 1), lxw_col_t(c), data->rows[r][c], formats);
    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR)
        *error = lxw_strerror(closed);
}
