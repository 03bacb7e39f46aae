#pragma once
// The texts of a table's number columns as the program reads them: with
// --decimal-comma every comma becomes a point; without it the text stands,
// and the first number with a decimal comma in a semicolon table earns one
// note on standard error (a comma may as well separate thousands, so it is
// never guessed).

#include <string>
#include <string_view>

#include "table_options.h"

namespace tarnwick::command_line {

class NumberColumns {
public:
    // `program` starts the note; `refusal` says what becomes of such rows
    // ("such rows end with a type mismatch").
    NumberColumns(const TableOptions& options, char delimiter, const char* program,
                  const char* reader, const char* refusal);

    // The text as read; `buffer` holds it when it had to change.
    std::string_view read(const std::string& text, std::string& buffer, const std::string& file,
                          long line);

private:
    bool decimalComma_;
    bool semicolons_;
    const char* program_;
    const char* reader_;
    const char* refusal_;
    bool noted_ = false;
};

}  // namespace tarnwick::command_line
