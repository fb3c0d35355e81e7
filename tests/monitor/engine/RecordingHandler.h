// A stand-in for the application's PDU handlers: keeps a copy of every PDU it
// is handed, with the thread that handed it, and can hold the signal worker.
#pragma once

#include "engine/IPduHandler.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct HandledPdu {
    int type;
    std::vector<std::uint8_t> bytes;
    std::string sender;
    std::thread::id thread;
};

class RecordingHandler : public IPduHandler {
public:
    void OnTransmitterPdu(const std::uint8_t* pdu, std::size_t length, const SenderAddress& sender) override
    {
        Record(DisPduType::Transmitter, pdu, length, sender);
    }

    void OnSignalPdu(const std::uint8_t* pdu, std::size_t length, const SenderAddress& sender) override
    {
        std::unique_lock lock(m_lock);
        m_signalEntered = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return !m_holdSignals; });
        lock.unlock();
        Record(DisPduType::Signal, pdu, length, sender);
    }

    // True once `count` PDUs have been handled; false after 5 s.
    bool WaitFor(std::size_t count)
    {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(5), [&] { return m_pdus.size() >= count; });
    }

    // While held, the signal worker stops in its handler.
    void HoldSignals(bool hold)
    {
        std::lock_guard guard(m_lock);
        m_holdSignals = hold;
        m_changed.notify_all();
    }

    bool WaitForSignalEntered()
    {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(5), [&] { return m_signalEntered; });
    }

    std::vector<HandledPdu> Pdus() const
    {
        std::lock_guard guard(m_lock);
        return m_pdus;
    }

private:
    void Record(int type, const std::uint8_t* pdu, std::size_t length, const SenderAddress& sender)
    {
        std::lock_guard guard(m_lock);
        m_pdus.push_back({type, {pdu, pdu + length}, std::string(sender.Text()), std::this_thread::get_id()});
        m_changed.notify_all();
    }

    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<HandledPdu> m_pdus;
    bool m_holdSignals = false;
    bool m_signalEntered = false;
};
