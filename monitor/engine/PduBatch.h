// Datagrams on their way from the receive thread to one worker: their bytes
// back to back in one buffer, each with its length and its sender. The
// receive thread fills a batch and hands it over whole, so a worker is
// reached once per batch rather than once per datagram; the worker converts
// each PDU in place and gives the emptied batch back for reuse, so that the
// intake allocates nothing while traffic flows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class PduBatch {
public:
    struct Entry {
        std::uint32_t offset;   // into the bytes
        std::uint32_t length;
        std::uint32_t sender;   // IPv4 address, first octet in the high byte
    };

    // Copies the datagram in (at most 8192 bytes: see CDisSocket).
    void Add(const std::uint8_t* datagram, std::size_t length, std::uint32_t sender)
    {
        m_entries.push_back({static_cast<std::uint32_t>(m_bytes.size()), static_cast<std::uint32_t>(length), sender});
        m_bytes.insert(m_bytes.end(), datagram, datagram + length);
    }

    std::size_t Count() const { return m_entries.size(); }
    bool Empty() const { return m_entries.empty(); }
    // Bytes held, for bounding a worker's queue.
    std::size_t Size() const { return m_bytes.size() + m_entries.size() * sizeof(Entry); }
    const std::vector<Entry>& Entries() const { return m_entries; }
    std::uint8_t* Pdu(const Entry& entry) { return m_bytes.data() + entry.offset; }

    // Empties the batch, keeping its memory.
    void Clear()
    {
        m_entries.clear();
        m_bytes.clear();
    }

private:
    std::vector<std::uint8_t> m_bytes;
    std::vector<Entry> m_entries;
};
