#include "destination.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "standard_streams.h"

namespace tarnwick::command_line {

Destination::Destination(const std::optional<std::string>& path) {
    if (path && *path != "-") {
        file_.emplace(*path);
        out_ = file_->stream();
    } else {
        if (table_io::standardOutputWasClosed())
            throw std::runtime_error(
                "standard output is closed: name a file for the answers with -o FILE");
        std::setvbuf(stdout, nullptr, _IOFBF, 1 << 20);
    }
}

bool Destination::progressWanted(bool quiet) const {
    const bool answersOnTerminal = !file_ && ::isatty(STDOUT_FILENO) == 1;
    return !quiet && ::isatty(STDERR_FILENO) == 1 && !answersOnTerminal;
}

void Destination::commit() {
    if (std::fflush(out_) != 0 || std::ferror(out_))
        throw std::runtime_error(std::string("cannot write the output: ") + std::strerror(errno));
    if (file_) file_->commit();
}

}  // namespace tarnwick::command_line
