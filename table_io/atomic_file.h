#pragma once
// An output file that appears complete or not at all: written as a temporary
// file beside it, synced, and renamed over it only when the output is done.
// The temporary is removed on any error, on destruction before commit, and
// when the program is interrupted (SIGINT, SIGTERM, SIGHUP).

#include <cstdio>
#include <string>

namespace tarnwick::table_io {

class AtomicFile {
public:
    // Throws std::runtime_error when the temporary cannot be created.
    explicit AtomicFile(std::string path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    std::FILE* stream() { return stream_; }
    // Flushes, syncs and renames the temporary to the path. Throws
    // std::runtime_error (and removes the temporary) when any step fails.
    void commit();

private:
    void discard();

    std::string path_, temporary_;
    std::FILE* stream_ = nullptr;
};

}  // namespace tarnwick::table_io
