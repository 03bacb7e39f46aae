#include "input_file.h"

#include <cerrno>
#include <cstring>

#include "csv_reader.h"

namespace tarnwick::table_io {

InputFile::InputFile(const std::string& path) {
    if (path.empty() || path == "-") return;
    stream_ = std::fopen(path.c_str(), "rb");
    if (stream_ == nullptr)
        throw InputError(path, 0, std::string("cannot open: ") + std::strerror(errno));
    name_ = path;
}

InputFile::~InputFile() {
    if (stream_ != stdin) std::fclose(stream_);
}

}  // namespace tarnwick::table_io
