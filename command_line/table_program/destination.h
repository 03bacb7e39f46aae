#pragma once
// Where a table program's answers go: standard output, or a file that appears
// complete or not at all. Opened before any input is read, so that a name
// that cannot be written to fails first; rows go out one by one, and a row
// that cannot be read stops the run before the file appears.

#include <cstdio>
#include <optional>
#include <string>

#include "atomic_file.h"

namespace tarnwick::command_line {

class Destination {
public:
    // A path of "-", or none, is standard output; throws std::runtime_error
    // when that was closed as the program started (answers would be lost).
    explicit Destination(const std::optional<std::string>& path);

    std::FILE* stream() const { return out_; }

    // A progress line on standard error shows only when not asked to be
    // quiet, standard error is a terminal, and the answers themselves do not
    // scroll past on that terminal.
    bool progressWanted(bool quiet) const;

    // Throws std::runtime_error (or table_io's file error) when what was
    // written did not all arrive; a file then does not appear.
    void commit();

private:
    std::optional<table_io::AtomicFile> file_;
    std::FILE* out_ = stdout;
};

}  // namespace tarnwick::command_line
