// What the application core asks of the main frame: the transmitter tree it
// hosts and the detail windows it shows. The GUI's main frame implements it.
#pragma once

#include "engine/RadioKey.h"

#include <memory>

class CDetailDoc;
class CRadioReceive;

class IMainFrame {
public:
    virtual ~IMainFrame() = default;

    // A radio was created or changed (the receiver-update message). Called on
    // any thread, DIS workers included, possibly just after the frame was
    // detached: the implementation only queues the update to the GUI thread,
    // which looks the radio up with CQuorlexAppCore::GetRadio and ignores a
    // radio that has gone meanwhile.
    virtual void PostReceiverUpdate(const RadioRef& radio) = 0;

    // The calls below come from the UI thread.

    // Drop the DIS radios not seen since the previous sweep from the tree.
    virtual void SweepTree() = 0;
    // Remove an HLA radio (a copy of its last record) from the tree.
    virtual void RemoveHlaRadio(const CRadioReceive& radio) = 0;

    // Show a new detail document in a window of its own.
    virtual void OpenDocumentWindow(const std::shared_ptr<CDetailDoc>& document) = 0;
    // Bring the window of an open document to the front.
    virtual void ActivateDocumentWindow(const std::shared_ptr<CDetailDoc>& document) = 0;
    // Close the window of a document; the core has already forgotten it.
    virtual void CloseDocumentWindow(const std::shared_ptr<CDetailDoc>& document) = 0;
};
