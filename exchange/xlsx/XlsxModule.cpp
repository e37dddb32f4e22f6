// The workbook module: writes an exchange::xlsx::Sheet as an .xlsx file with libxlsxwriter.
// A module of its own, loaded when a workbook is exported, so that the program does not
// load the writer and its libraries (compression, cryptography) at every start.
#include "exchange/XlsxSheet.h"

#include <xlsxwriter.h>

#include <string>

using exchange::xlsx::Cell;

namespace {

struct Formats {
    lxw_format* money = nullptr;
    lxw_format* date = nullptr;
    lxw_format* dateTime = nullptr;
};

// Writes one cell; returns the writer's answer, so that no cell is left empty unnoticed.
lxw_error writeCell(lxw_worksheet* sheet, lxw_row_t r, lxw_col_t c, const Cell& cell, const Formats& formats)
{
    switch (cell.kind) {
        case Cell::Kind::Empty:
            return LXW_NO_ERROR;
        case Cell::Kind::Text:
            // Always a string cell: a text that looks like a formula stays text.
            return worksheet_write_string(sheet, r, c, cell.text.c_str(), nullptr);
        case Cell::Kind::Number:
            return worksheet_write_number(sheet, r, c, cell.number, nullptr);
        case Cell::Kind::Money:
            return worksheet_write_number(sheet, r, c, cell.number, formats.money);
        case Cell::Kind::Bool:
            return worksheet_write_boolean(sheet, r, c, cell.yes, nullptr);
        case Cell::Kind::Date:
        case Cell::Kind::DateTime: {
            lxw_datetime when = {cell.year, cell.month,  cell.day,
                                 cell.hour, cell.minute, double(cell.second)};
            return worksheet_write_datetime(sheet, r, c, &when,
                                            cell.kind == Cell::Kind::Date ? formats.date : formats.dateTime);
        }
    }
    return LXW_NO_ERROR;
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
    lxw_error failed = LXW_NO_ERROR;
    std::string where;
    for (size_t c = 0; c < data->columns.size() && !failed; ++c) {
        const auto& col = data->columns[c];
        failed = worksheet_write_string(sheet, 0, lxw_col_t(c), col.caption.c_str(), header);
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), col.width, nullptr);
        if (failed)
            where = "the header of column " + std::to_string(c + 1);
    }
    worksheet_freeze_panes(sheet, 1, 0);
    for (size_t r = 0; r < data->rows.size() && !failed; ++r)
        for (size_t c = 0; c < data->rows[r].size() && !failed; ++c)
            if ((failed = writeCell(sheet, lxw_row_t(r + 1), lxw_col_t(c), data->rows[r][c], formats)))
                where = "row " + std::to_string(r + 1) + ", column " + std::to_string(c + 1);
    const lxw_error closed = workbook_close(book);
    if (failed)
        *error = where + ": " + lxw_strerror(failed);
    else if (closed != LXW_NO_ERROR)
        *error = lxw_strerror(closed);
}
