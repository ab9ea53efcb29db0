// An open file: the host descriptor behind a CreateFileA handle.
#pragma once

#include "kernel/kernel_objects.h"

#include <string>

namespace vk::kernel {

class FileObject : public KernelObject {
public:
    FileObject(int fd, std::string hostPath, bool canRead, bool canWrite, bool deleteOnClose)
        : fd(fd), hostPath(std::move(hostPath)), canRead(canRead), canWrite(canWrite), deleteOnClose(deleteOnClose)
    {
    }
    ~FileObject() override;

    const int fd;
    const std::string hostPath;
    const bool canRead;
    const bool canWrite;
    const bool deleteOnClose;
    bool borrowed = false; // standard handles: the descriptor is not ours to close
};

// FILETIME (100 ns since 1601) <-> host time.
FILETIME fileTimeFromTimespec(const struct timespec& ts);
struct timespec timespecFromFileTime(const FILETIME& ft);

} // namespace vk::kernel
