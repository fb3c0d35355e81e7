// The transmitter tree's pictures, drawn here at 16 by 16 pixels on a
// transparent background. Each picture serves an item both normal and
// selected.
#pragma once

#include <QIcon>

#include <array>

enum class TreeImage {
    Root,                // the "Quorlex" item
    Port,                // the DIS root and the HLA root
    Group,               // a sender, site, application, entity or HLA host
    ActiveGroup,         // a group with a transmitting radio below it
    LocalSender,         // a sender that is this host
    LocalActiveSender,   // the same with a transmitting radio below it
    Radio,
    ActiveRadio,   // transmit state 2: on and transmitting
    QuickView,     // a quick-view line
};

inline constexpr int kTreeImageCount = 9;

class CTransmitterTreeIcons {
public:
    // Made on first use (the GUI thread's); the same icons for every tree.
    static const QIcon& Icon(TreeImage image);
    static const char* Name(TreeImage image);

private:
    static std::array<QIcon, kTreeImageCount> Draw();
};
