// What a detail view offers when it handles the Raw Data command (32772).
#pragma once

// The main frame enables Raw Data, and checks it, from the view of the active
// detail window; a view that does not implement this leaves the command
// unavailable (the HLA detail view).
class IRawDataView {
public:
    virtual ~IRawDataView() = default;
    virtual bool IsRawData() const = 0;
    virtual void ToggleRawData() = 0;
};
