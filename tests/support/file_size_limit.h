#pragma once
// A full disk as this process sees it: files it writes may not grow past a size,
// and a write past it fails with EFBIG ("File too large") instead of ending the
// process. The old limit comes back with lift() or when the object goes, so a
// failed check cannot leave it behind for the next test.

#include <algorithm>
#include <csignal>
#include <sys/resource.h>

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit limited{std::min(bytes, m_old.rlim_cur), m_old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { lift(); }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    void lift() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};
