// A view of a detail document. The document tells its views what changed;
// views read the document only through its snapshots.
#pragma once

#include <cstdint>

// What changed in a document (the views' update hint).
enum class DocumentHint : std::uint32_t {
    Transmitter = 1,   // the transmitter part
    Signal = 2,        // the signal part
    Title = 3,         // the window title
};

class IDocumentView {
public:
    virtual ~IDocumentView() = default;

    // Called on the thread that changed the document: a DIS worker or the UI
    // thread. A view must not paint here; it queues a repaint to the GUI
    // thread, which takes a snapshot and paints from it. The document holds
    // its views weakly and keeps one alive only for the call, so a view
    // whose owner lets it go during a call is destroyed on the calling thread:
    // make the registered object a small adapter that is safe to destroy
    // there (not the widget itself).
    virtual void OnDocumentChanged(DocumentHint hint) = 0;
};
