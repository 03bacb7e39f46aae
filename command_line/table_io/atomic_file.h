#pragma once
// The output file of a command-line program. A regular file (or one that does
// not exist yet) appears complete or not at all: the output is written to a
// short-named temporary in the same folder, synced, and renamed over it only
// when the output is done; the temporary is removed on any error, on
// destruction before commit, and when a signal ends the program (see
// interruption.h). A symbolic link keeps being a link: the file it resolves
// to is the one replaced. A device, named pipe or socket is never replaced:
// the output is written to it directly, as the shell's ">" would. A folder,
// and a regular file the user may not write, are refused at once.

#include <cstdio>
#include <string>

namespace tarnwick::table_io {

class AtomicFile {
public:
    // Throws std::runtime_error when the output cannot be opened or the
    // temporary created; `path` must not be empty.
    explicit AtomicFile(std::string path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    std::FILE* stream() { return stream_; }
    // False when the output goes straight to a device, pipe or socket.
    bool isReplacedWhole() const { return !temporary_.empty(); }
    // Flushes, and for a regular file syncs and renames the temporary to the
    // file. Throws std::runtime_error (and removes the temporary) when any
    // step fails.
    void commit();

private:
    void openTemporary(const std::string& target);
    void openDirectly(const std::string& target);
    void discard();

    std::string path_;       // as the user named it, for messages
    std::string target_;     // the file that receives the output, links resolved
    std::string temporary_;  // empty when writing directly
    std::FILE* stream_ = nullptr;
};

}  // namespace tarnwick::table_io
