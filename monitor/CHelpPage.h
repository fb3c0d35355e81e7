// The help page that Help > Contents opens in the desktop's browser.
#pragma once

#include <QString>

class CHelpPage {
public:
    // The page's file: `helpIndex` as it stands when it is absolute, else
    // under `programDir` (the directory of the running program).
    static QString Resolve(const QString& helpIndex, const QString& programDir);
    // Opens the page with the desktop's handler for HTML files; false when
    // the file does not exist or no handler could be started.
    static bool Open(const QString& path);
};
