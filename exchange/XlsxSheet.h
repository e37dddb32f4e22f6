// One worksheet as plain data: what an export hands to the workbook module (orvane_xlsx,
// over libxlsxwriter) to write. Plain standard types only, so that the module needs
// nothing of the program.
#pragma once

#include <string>
#include <vector>

namespace exchange::xlsx {

struct Cell {
    enum class Kind { Empty, Text, Number, Money, Bool, Date, DateTime };
    Kind kind = Kind::Empty;
    std::string text;  // UTF-8
    double number = 0;
    bool yes = false;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct Column {
    std::string caption;  // UTF-8
    int width = 12;       // characters
};

struct Sheet {
    std::string title;  // the worksheet's name, UTF-8
    std::vector<Column> columns;
    std::vector<std::vector<Cell>> rows;
};

// The entry point of the workbook module: writes the sheet as a workbook at path (in the
// file system's encoding); *error stays empty, or says why it could not.
using WriteFunction = void (*)(const Sheet*, const char* path, std::string* error);
inline constexpr const char* WriteFunctionName = "orvaneWriteXlsx";
inline constexpr const char* ModuleName = "orvane_xlsx";

}  // namespace exchange::xlsx
