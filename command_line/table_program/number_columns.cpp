#include "number_columns.h"

#include <iostream>

#include "decimal_comma.h"
#include "quoted_field.h"

namespace tarnwick::command_line {

NumberColumns::NumberColumns(const TableOptions& options, char delimiter, const char* program,
                             const char* reader, const char* refusal)
    : decimalComma_(options.decimalComma),
      semicolons_(delimiter == ';'),
      program_(program),
      reader_(reader),
      refusal_(refusal) {}

std::string_view NumberColumns::read(const std::string& text, std::string& buffer,
                                     const std::string& file, long line) {
    if (decimalComma_) {
        table_io::withDecimalPoints(text, buffer);
        return buffer;
    }
    if (semicolons_ && !noted_ && table_io::hasDecimalComma(text)) {
        std::cerr << program_ << ": note: " << file << ":" << line << ": "
                  << table_io::quotedField(text) << " has a decimal comma; " << reader_
                  << " reads \".\" as the decimal mark, so " << refusal_
                  << "; --decimal-comma reads the number columns with a comma\n";
        noted_ = true;
    }
    return text;
}

}  // namespace tarnwick::command_line
