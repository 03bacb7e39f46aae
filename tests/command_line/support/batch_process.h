#pragma once
// Runs a program of the build as a separate process, as a user would, and
// keeps its exit status, standard output and standard error; reads its CSV.

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "csv_reader.h"

namespace tarnwick::batch::testing {

struct Outcome {
    int status = -1;
    std::string out, err;
};

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

// A scratch folder of its own for each test, removed afterwards.
struct ScratchFolder {
    std::filesystem::path path;
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "batch-test-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~ScratchFolder() { std::filesystem::remove_all(path); }
};

// Runs `program` with `arguments`, standard input from `input` (a file).
inline Outcome run(const std::string& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& input = "/dev/null") {
    ScratchFolder scratch;
    std::string command = quoted(program);
    for (const std::string& argument : arguments)
        command += " " + quoted(argument);
    command += " <" + quoted(input.string()) + " >" + quoted((scratch.path / "out").string()) +
               " 2>" + quoted((scratch.path / "err").string());
    const int raw = std::system(command.c_str());
    Outcome outcome;
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    outcome.out = readFile(scratch.path / "out");
    outcome.err = readFile(scratch.path / "err");
    return outcome;
}

// A CSV table read with the program's own reader.
struct Table {
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;

    const std::string& at(std::size_t row, std::string_view column) const {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (columns[i] == column) return rows.at(row).at(i);
        }
        throw std::out_of_range("no column " + std::string(column));
    }
};

inline Table parseCsv(std::string text) {
    std::FILE* stream = ::fmemopen(text.data(), text.size(), "rb");
    table_io::CsvReader reader(stream, "output");
    Table table;
    table_io::CsvRecord record;
    if (reader.next(record)) table.columns = record.fields;
    while (reader.next(record))
        table.rows.push_back(record.fields);
    std::fclose(stream);
    return table;
}

}  // namespace tarnwick::batch::testing
