#include "CHelpPage.h"

#include <QDesktopServices>
#include <QFile>
#include <QObject>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

TEST(CHelpPage, ResolvesThePageUnderTheProgramDirectory)
{
    struct Case {
        const char* helpIndex;
        const char* expected;
    };
    const Case cases[] = {
        {"help/Main.html", "/opt/quorlex/bin/help/Main.html"},
        {"help\\Main.html", "/opt/quorlex/bin/help/Main.html"},   // written by an older profile
        {"../share/quorlex/Main.html", "/opt/quorlex/share/quorlex/Main.html"},
        {"/usr/share/doc/quorlex/index.html", "/usr/share/doc/quorlex/index.html"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CHelpPage::Resolve(c.helpIndex, "/opt/quorlex/bin"), c.expected) << c.helpIndex;
}

// Stands in for the desktop's browser.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

TEST(CHelpPage, OpensAnExistingPageOnly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString page = dir.filePath("Main.html");
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    UrlRecorder browser;
    QDesktopServices::setUrlHandler("file", &browser, "open");
    EXPECT_FALSE(CHelpPage::Open(dir.filePath("Missing.html")));
    EXPECT_TRUE(CHelpPage::Open(page));
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_EQ(browser.opened[0], QUrl::fromLocalFile(page));
}

}   // namespace

#include "CHelpPageTest.moc"
