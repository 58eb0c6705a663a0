#pragma once

#include <cstddef>
#include <pthread.h>

namespace orvella::testing {

// While it lives, no thread this process starts can get its stack (each asks for more
// than the address space holds): starting one fails as it does for a process at its
// limit of processes or of memory. Threads already running go on. Puts the default back
// when it goes.
class NoNewThreads {
public:
    NoNewThreads()
    {
        m_saved = pthread_getattr_default_np(&m_old) == 0;
        pthread_attr_t huge;
        pthread_attr_init(&huge);
        pthread_attr_setstacksize(&huge, std::size_t(1) << 46);
        m_set = m_saved && pthread_setattr_default_np(&huge) == 0;
        pthread_attr_destroy(&huge);
    }
    ~NoNewThreads()
    {
        if (m_set)
            pthread_setattr_default_np(&m_old);
        if (m_saved)
            pthread_attr_destroy(&m_old);
    }
    NoNewThreads(const NoNewThreads &) = delete;
    NoNewThreads &operator=(const NoNewThreads &) = delete;

    bool set() const { return m_set; }

private:
    pthread_attr_t m_old{};
    bool m_saved = false;
    bool m_set = false;
};

} // namespace orvella::testing
