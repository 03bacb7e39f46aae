#pragma once
// The input of a command-line program: standard input ("-" or no name), or
// the named file, opened for reading bytes and closed again at the end.

#include <cstdio>
#include <string>

namespace tarnwick::table_io {

class InputFile {
public:
    // Throws InputError (at line 0) when the file cannot be opened.
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    std::FILE* stream() const { return stream_; }
    // The name errors give: the path, or "<stdin>".
    const std::string& name() const { return name_; }

private:
    std::FILE* stream_ = stdin;
    std::string name_ = "<stdin>";
};

}  // namespace tarnwick::table_io
