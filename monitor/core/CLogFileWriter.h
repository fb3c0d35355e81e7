// The log file and the thread that writes it. The DIS workers only append to
// a memory buffer under a short lock; this writer thread takes the buffer
// and writes it to the file, at the latest a second after the bytes came, so
// a slow or failing disk never stalls the intake.
//
// A failure (a write error, or a backlog the disk cannot work off) is
// reported once through the failure callback, on the writer thread; the
// writer then accepts nothing more and its thread ends.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

class CLogFileWriter {
public:
    using FailureCallback = std::function<void(const std::string& message)>;

    static constexpr std::chrono::milliseconds kFlushPeriod{1000};
    // Pending bytes that wake the writer before the period ends.
    static constexpr std::size_t kFlushThreshold = 256 * 1024;
    // Pending bytes beyond which the disk is taken to have fallen behind for good.
    static constexpr std::size_t kBacklogLimit = 64 * 1024 * 1024;

    // Creates the file or empties it. Null with `error` set when it cannot be opened.
    static std::unique_ptr<CLogFileWriter> Open(const std::string& path, FailureCallback onFailure, std::string& error);

    ~CLogFileWriter();   // Close()
    CLogFileWriter(const CLogFileWriter&) = delete;
    CLogFileWriter& operator=(const CLogFileWriter&) = delete;

    // Any thread. Appends the bytes as one piece, so pieces from several
    // threads never interleave. False when the writer is closed or failed.
    bool Append(std::string_view bytes);

    // Writes what is pending, closes the file and ends the thread; later
    // calls do nothing. From one thread at a time, and not from the writer's
    // own thread (so not from the failure callback). A failure to close the
    // file is reported on the calling thread.
    void Close();

    const std::string& GetPath() const { return m_path; }

private:
    CLogFileWriter(std::FILE* file, std::string path, FailureCallback onFailure);
    void Run();
    bool WriteOut(const std::string& bytes);   // false after reporting a failure
    void Fail(const std::string& message);

    std::FILE* m_file;
    const std::string m_path;
    const FailureCallback m_onFailure;

    std::mutex m_lock;                 // guards the members below
    std::condition_variable m_wake;
    std::string m_pending;
    bool m_closing = false;
    bool m_failed = false;
    bool m_overflowed = false;

    std::thread m_thread;              // last: starts once everything above exists
};
