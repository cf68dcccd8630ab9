// The per-user runtime folder and the process-to-process pieces that live in it: the instance lock,
// the shared block of the file hand-off and the hand-off's notification channel. Everything here is
// private to the user who runs the program: the folder is mode 0700 and owned by that user, and a
// folder or file that another user could have planted is refused rather than used.
#pragma once

#include <cstddef>
#include <string>

namespace zandor::platform {

// $XDG_RUNTIME_DIR/zandor when the session has a safe runtime folder, else /tmp/zandor-<uid>.
// Created on first use; empty when no safe folder can be had (the caller then works alone).
std::string UserRuntimeFolder();

// A named per-user lock that tells running instances apart, in the manner of a named mutex that
// every instance creates and holds: the first holder learns that the name was new, later ones that
// it existed. Held until the object goes (or the process ends; the kernel releases it).
class InstanceLock {
public:
    InstanceLock() = default;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

    // Takes the lock; returns false when no lock could be taken at all.
    bool Acquire(const std::string& name);
    // True when another instance held the lock when Acquire ran.
    bool AlreadyExisted() const { return existed_; }

private:
    int fd_ = -1;
    bool existed_ = false;
};

// An exclusive per-user lock of that name, held while the object lives (its constructor waits for
// it): for short decisions that two starting instances must not make at the same time.
class RuntimeTurn {
public:
    explicit RuntimeTurn(const std::string& name);
    RuntimeTurn(const RuntimeTurn&) = delete;
    RuntimeTurn& operator=(const RuntimeTurn&) = delete;
    ~RuntimeTurn();

    // False when no lock could be had (no safe runtime folder).
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// The named shared block: a file of a fixed size in the runtime folder, mapped into every process
// that uses it. Handles are file descriptors; -1 means none.
struct SharedHandle {
    int Fd = -1;
    bool Existed = false; // the block was there before this call
};

// Creates the block (mode 0600) or opens the existing one for reading and writing; grows it to
// `size` when it is shorter. Fd is -1 on failure.
SharedHandle CreateSharedBlock(const std::string& name, size_t size);
// Opens an existing block for reading only; -1 when there is none or it is shorter than `size`.
int OpenSharedBlock(const std::string& name, size_t size);
// Maps `size` bytes of the block; null on failure.
void* MapSharedBlock(int fd, size_t size, bool writable);
bool UnmapSharedBlock(void* view, size_t size);
bool CloseSharedHandle(int fd);

// Full path of a named object (lock, block, socket) in the runtime folder; empty without one.
std::string RuntimeObjectPath(const std::string& name);

} // namespace zandor::platform
