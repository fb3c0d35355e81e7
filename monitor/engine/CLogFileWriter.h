// The log file and the thread that writes it. The DIS workers only append to
// a memory buffer under a short lock; this writer thread takes the buffer
// and writes it to the file, at the latest a flush period after the bytes
// came, so a slow or failing disk never stalls the intake.
//
// The writer gives up when a write fails, or when more is pending than the
// disk can work off (the backlog limit). It says so once, through the failure
// callback, at the moment it gives up: on the writer thread for a failed
// write, on the appending thread for the backlog (what is pending is still
// written then). From then on it accepts nothing, and its thread ends.
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
#include <vector>

struct LogWriterLimits {
    // The longest bytes wait before they are written.
    std::chrono::milliseconds flushPeriod{1000};
    // Pending bytes that wake the writer before the period ends.
    std::size_t flushThreshold = std::size_t{256} * 1024;
    // Pending bytes beyond which the disk is taken to have fallen behind for good.
    std::size_t backlogLimit = std::size_t{64} * 1024 * 1024;
};

class CLogFileWriter {
public:
    using FailureCallback = std::function<void(const std::string& message)>;
    using Limits = LogWriterLimits;

    // Creates the file or empties it. Null with `error` set when it cannot be opened.
    static std::unique_ptr<CLogFileWriter> Open(const std::string& path, FailureCallback onFailure, std::string& error,
                                                const Limits& limits = {});

    ~CLogFileWriter();   // Close()
    CLogFileWriter(const CLogFileWriter&) = delete;
    CLogFileWriter& operator=(const CLogFileWriter&) = delete;

    // Any thread. Appends the bytes as one piece, so pieces from several
    // threads never interleave. False when the writer is closed or has given
    // up (this call may be the one that makes it give up).
    bool Append(std::string_view bytes);

    // Writes what is pending, closes the file and ends the thread; later
    // calls do nothing. From one thread at a time, and not from the failure
    // callback. A failure to close the file is reported on the calling thread.
    void Close();

    const std::string& GetPath() const { return m_path; }

private:
    CLogFileWriter(std::FILE* file, std::string path, FailureCallback onFailure, const Limits& limits);
    void Run();
    // Writes the chunks in order; false after giving up.
    bool WriteOut(const std::vector<std::string>& chunks);
    // Gives up (once) with `message`; a failed write drops what is pending.
    void GiveUp(const std::string& message, bool dropPending);

    std::FILE* m_file;
    const std::string m_path;
    const FailureCallback m_onFailure;
    const Limits m_limits;

    std::mutex m_lock;   // guards the members below
    std::condition_variable m_wake;
    // What waits to be written, in chunks: a backlog that grows never moves
    // what it holds (as one growing buffer would, under the lock).
    std::vector<std::string> m_pending;
    std::size_t m_pendingBytes = 0;
    std::vector<std::string> m_spare;   // written chunks, emptied, for reuse
    bool m_closing = false;
    bool m_givenUp = false;

    std::thread m_thread;   // last: starts once everything above exists
};
