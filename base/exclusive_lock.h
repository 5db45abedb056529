#pragma once

#include <windows.h>

namespace velora {

// A lock for data that more than one thread writes. An SRW lock needs no
// set-up or teardown, so an owner of one can be constant-initialised.
class ExclusiveLock {
  public:
    ExclusiveLock() = default;
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

    void Lock() { ::AcquireSRWLockExclusive(&lock_); }
    void Unlock() { ::ReleaseSRWLockExclusive(&lock_); }

  private:
    SRWLOCK lock_ = SRWLOCK_INIT;
};

// Holds an ExclusiveLock for its scope.
class ScopedExclusiveLock {
  public:
    explicit ScopedExclusiveLock(ExclusiveLock& lock) : lock_(lock) { lock_.Lock(); }
    ~ScopedExclusiveLock() { lock_.Unlock(); }
    ScopedExclusiveLock(const ScopedExclusiveLock&) = delete;
    ScopedExclusiveLock& operator=(const ScopedExclusiveLock&) = delete;

  private:
    ExclusiveLock& lock_;
};

}  // namespace velora
