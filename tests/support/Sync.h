#pragma once

#include <QDeadlineTimer>

#include <chrono>
#include <condition_variable>
#include <mutex>

// Locks for the test servers' threads, built on the standard library so that
// ThreadSanitizer follows them (Qt's own wait on futexes it cannot see).
namespace testsupport {

using Mutex = std::mutex;
using Locker = std::unique_lock<std::mutex>;

class Condition
{
public:
    void wakeAll() { m_cv.notify_all(); }
    // Waits until woken or the deadline passes; false on the deadline.
    bool wait(Locker &lock, QDeadlineTimer deadline)
    {
        if (deadline.isForever()) {
            m_cv.wait(lock);
            return true;
        }
        return m_cv.wait_for(lock, std::chrono::milliseconds(std::max<qint64>(deadline.remainingTime(), 0)))
               == std::cv_status::no_timeout;
    }

private:
    std::condition_variable m_cv;
};

class Semaphore
{
public:
    void release()
    {
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            ++m_count;
        }
        m_cv.notify_all();
    }
    bool tryAcquire(int n, int timeoutMs)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_count >= n; }))
            return false;
        m_count -= n;
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    int m_count = 0;
};

} // namespace testsupport
