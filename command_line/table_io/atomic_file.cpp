#include "atomic_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "interruption.h"

namespace tarnwick::table_io {
namespace {

std::runtime_error failure(const std::string& what, const std::string& path, int error = errno) {
    return std::runtime_error(what + " " + path + ": " + std::strerror(error));
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool isInProc(const std::string& folder) {
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(folder.c_str(), nullptr),
                                                           &std::free);
    return real && std::strncmp(real.get(), "/proc/", 6) == 0;
}

struct Resolved {
    std::string path;
    bool descriptorLink = false;  // a /proc/.../fd link: it names an open file, not a path
};

// Follows symbolic links to the file they end at, which need not exist yet
// (a dangling link then creates it, as editors do).
Resolved resolveLinks(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status {};
        if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return {current};
        const std::string folder = folderOf(current);
        // /dev/stdout, /dev/fd/N and the like end in links whose text is
        // not a path ("pipe:[123]").
        if (isInProc(folder)) return {current, true};
        char target[PATH_MAX];
        const ssize_t size = ::readlink(current.c_str(), target, sizeof target - 1);
        if (size < 0) throw failure("cannot read the link", current);
        target[size] = '\0';
        current = target[0] == '/' ? std::string(target) : folder + "/" + target;
    }
    throw failure("cannot follow the links of", path, ELOOP);
}

// The file's mode: that of the file it replaces, or what a new file gets.
mode_t modeFor(const std::string& path) {
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void syncFolderOf(const std::string& path) {
    const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;  // the rename has happened; a sync of the folder is a bonus
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {
    if (path_.empty()) throw std::runtime_error("the output file's name is empty");
    const Resolved resolved = resolveLinks(path_);
    target_ = resolved.path;
    struct stat status {};
    const bool exists = ::stat(target_.c_str(), &status) == 0;
    if (exists && S_ISDIR(status.st_mode)) throw failure("cannot write to", path_, EISDIR);
    // The rename would replace a file its user may not write (the folder's
    // permission is enough for a rename): refuse it as the shell's ">" does.
    // The effective ids decide, as they would for an open.
    if (exists && S_ISREG(status.st_mode) && !resolved.descriptorLink &&
        ::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0)
        throw failure("cannot write to", path_);
    if (resolved.descriptorLink || (exists && !S_ISREG(status.st_mode))) {
        openDirectly(resolved.descriptorLink ? path_ : target_);
    } else {
        openTemporary(target_);
    }
    // Whole rows go out in large writes.
    std::setvbuf(stream_, nullptr, _IOFBF, 1 << 20);
}

void AtomicFile::openDirectly(const std::string& target) {
    // Appending: a link to an open regular file (-o /dev/stdout >> log)
    // continues it instead of writing over its start; to a device or a pipe
    // it makes no difference.
    const int fd = ::open(target.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) throw failure("cannot open", path_);
    stream_ = ::fdopen(fd, "wb");
    if (stream_ == nullptr) {
        const auto error = failure("cannot open", path_);
        ::close(fd);
        throw error;
    }
}

void AtomicFile::openTemporary(const std::string& target) {
    // Short, so that a name of the longest length a folder allows still
    // works; in the same folder, so that the rename never crosses file systems.
    std::string pattern = folderOf(target) + "/tarnwick-partial-XXXXXX";
    int fd = -1;
    {
        const interruption::HeldBack noSignalInBetween;
        fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd >= 0) interruption::removeOnSignal(pattern);
    }
    if (fd < 0) throw failure("cannot create a temporary file beside", path_);
    temporary_ = pattern;
    if (::fchmod(fd, modeFor(target)) != 0 || (stream_ = ::fdopen(fd, "wb")) == nullptr) {
        const auto error = failure("cannot prepare", temporary_);
        ::close(fd);
        discard();
        throw error;
    }
}

AtomicFile::~AtomicFile() { discard(); }

void AtomicFile::discard() {
    if (stream_ != nullptr) std::fclose(stream_);
    stream_ = nullptr;
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        interruption::forgetRemoval();
    }
    temporary_.clear();
}

void AtomicFile::commit() {
    const bool replacing = isReplacedWhole();
    const bool written = std::fflush(stream_) == 0 && !std::ferror(stream_) &&
                         (!replacing || ::fsync(::fileno(stream_)) == 0);
    const int error = errno;
    const int closed = std::fclose(stream_);
    stream_ = nullptr;
    if (!written || closed != 0) {
        const auto failed = failure("cannot write", path_, written ? errno : error);
        discard();
        throw failed;
    }
    if (!replacing) return;
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        const auto failed = failure("cannot rename the finished output to", path_);
        discard();
        throw failed;
    }
    temporary_.clear();
    interruption::forgetRemoval();
    syncFolderOf(target_);
}

}  // namespace tarnwick::table_io
