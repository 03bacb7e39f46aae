#include "standard_streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace tarnwick::table_io {
namespace {

bool outputWasClosed = false;

}  // namespace

bool openClosedStandardStreams() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        if (fd == STDOUT_FILENO) outputWasClosed = true;
        // open() takes the lowest free number, which is fd: those below are open.
        if (::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY) != fd) return false;
    }
    return true;
}

bool standardOutputWasClosed() { return outputWasClosed; }

}  // namespace tarnwick::table_io
