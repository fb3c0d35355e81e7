// The monitor's private messages, by the numbers they had as window and
// thread messages. Here they are calls and queued calls; the numbers stay as
// names for tracing and for the comments that refer to them.
#pragma once

#include <cstdint>

enum class QlxMessage : std::uint32_t {
    ReceiverUpdate = 0x405,   // to the main frame: IMainFrame::PostReceiverUpdate (a radio key or handle)
    Tick = 0x406,             // to the UI thread: CQuorlexAppCore::OnTimerTick
    RequestUpdate = 0x407,    // to the UI thread: CQuorlexAppCore::OnRequestAttributeUpdate
    SignalPdu = 0x483,        // to the DIS signal worker
    TransmitterPdu = 0x484,   // to the DIS transmitter worker
    Stop = 0x488,             // to the net manager and its workers
    SetPort = 0x489,          // to the net manager
    SetMulticast = 0x48A,     // to the net manager
};
