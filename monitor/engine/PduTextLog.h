// The text log's blocks: one per Transmitter or Signal PDU, every line ended
// by CR LF (the log is a text file in the format its readers expect).
#pragma once

#include "engine/PduView.h"
#include "engine/RadioKey.h"
#include "engine/SignalPortion.h"

#include <string>
#include <string_view>

void AppendTransmitterText(std::string& out, const TransmitterPduView& pdu, std::string_view sender);
void AppendSignalText(std::string& out, const SignalPduView& pdu, std::string_view sender, SignalPortion portion);
