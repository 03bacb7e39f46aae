#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>

namespace tarnwick::table_io {
namespace {

// The temporary to remove when a signal ends the program; only
// async-signal-safe calls touch it from the handler.
char interruptedTemporary[4096];

extern "C" void removeTemporaryAndDie(int signal) {
    if (interruptedTemporary[0] != '\0') ::unlink(interruptedTemporary);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void removeOnSignal(const std::string& temporary) {
    if (temporary.size() >= sizeof interruptedTemporary) return;  // cannot happen on Linux
    std::memcpy(interruptedTemporary, temporary.c_str(), temporary.size() + 1);
    struct sigaction action {};
    action.sa_handler = removeTemporaryAndDie;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

void forgetOnSignal() { interruptedTemporary[0] = '\0'; }

std::runtime_error failure(const std::string& what, const std::string& path) {
    return std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

// The file's mode: that of the file it replaces, or what a new file gets.
mode_t modeFor(const std::string& path) {
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0) return existing.st_mode & 0777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void syncDirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string directory =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;  // the rename has happened; a sync of the directory is a bonus
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {
    std::string pattern = path_ + ".partial-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) throw failure("cannot create a temporary file beside", path_);
    temporary_ = pattern;
    removeOnSignal(temporary_);
    if (::fchmod(fd, modeFor(path_)) != 0 || (stream_ = ::fdopen(fd, "wb")) == nullptr) {
        const auto error = failure("cannot prepare", temporary_);
        ::close(fd);
        discard();
        throw error;
    }
    // Whole rows go out in large writes.
    std::setvbuf(stream_, nullptr, _IOFBF, 1 << 20);
}

AtomicFile::~AtomicFile() { discard(); }

void AtomicFile::discard() {
    if (stream_ != nullptr) std::fclose(stream_);
    stream_ = nullptr;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
    forgetOnSignal();
}

void AtomicFile::commit() {
    const bool written =
        std::fflush(stream_) == 0 && !std::ferror(stream_) && ::fsync(::fileno(stream_)) == 0;
    const int closed = std::fclose(stream_);
    stream_ = nullptr;
    if (!written || closed != 0) {
        const auto error = failure("cannot write", path_);
        discard();
        throw error;
    }
    if (::rename(temporary_.c_str(), path_.c_str()) != 0) {
        const auto error = failure("cannot rename the finished output to", path_);
        discard();
        throw error;
    }
    temporary_.clear();
    forgetOnSignal();
    syncDirectoryOf(path_);
}

}  // namespace tarnwick::table_io
