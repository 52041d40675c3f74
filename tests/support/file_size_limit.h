#pragma once
/// A file size limit on this process, and on the programs it starts, while the object lives: a write that
/// would take a file beyond it fails (EFBIG), also for root, where it would otherwise raise SIGXFSZ. A way
/// to make a disk that is full for one file only. POSIX only.

#include <csignal>
#include <sys/resource.h>

namespace ep::testing {

class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        if (::getrlimit(RLIMIT_FSIZE, &m_saved) != 0)
            return;
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        m_set = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        if (m_set)
            ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    /// False when the limit could not be set.
    bool set() const { return m_set; }

  private:
    rlimit m_saved{};
    void (*m_previousHandler)(int) = SIG_DFL;
    bool m_set = false;
};

} // namespace ep::testing
