#include "CHelpPage.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

QString CHelpPage::Resolve(const QString& helpIndex, const QString& programDir)
{
    // Older profiles write the page with the other platform's separator.
    QString page = helpIndex;
    page.replace('\\', '/');
    if (QDir::isAbsolutePath(page))
        return QDir::cleanPath(page);
    return QDir::cleanPath(QDir(programDir).filePath(page));
}

bool CHelpPage::Open(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
