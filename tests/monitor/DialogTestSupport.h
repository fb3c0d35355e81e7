// Helpers of the dialog tests: a throw-away profile, a reporter that records
// in place of message boxes, and a way to act inside a modal dialog's exec().
#pragma once

#include "IMessageReporter.h"
#include "QtTestPrinting.h"
#include "engine/CProfile.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace dialogtest {

// Records what would have been shown in message boxes.
class RecordingReporter : public IMessageReporter {
public:
    QStringList errors, warnings;
    void ShowError(const QString& text, const QString&) override { errors.append(text); }
    void ShowWarning(const QString& text, const QString&) override { warnings.append(text); }
};

// A profile in an INI file of its own, never the user's.
class TempProfile {
public:
    TempProfile() : m_path(m_dir.filePath("profile.ini")), m_profile(std::make_unique<CProfile>(m_path)) {}
    CProfile& operator*() { return *m_profile; }
    CProfile* operator->() { return m_profile.get(); }
    QString dir() const { return m_dir.path(); }

    // Every "Section/Name" stored so far.
    QStringList StoredKeys()
    {
        m_profile->Sync();
        QStringList keys = QSettings(m_path, QSettings::IniFormat).allKeys();
        keys.sort();
        return keys;
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<CProfile> m_profile;
};

// Runs `act` on the next modal dialog of type Dialog once it shows (from
// inside its exec()); gives up after about five seconds.
template <typename Dialog>
void OnNextModal(std::function<void(Dialog&)> act, int triesLeft = 500)
{
    QTimer::singleShot(10, qApp, [act = std::move(act), triesLeft] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget()))
            act(*dialog);
        else if (triesLeft > 0)
            OnNextModal<Dialog>(act, triesLeft - 1);
        else
            ADD_FAILURE() << "no " << Dialog::staticMetaObject.className() << " showed";
    });
}

// Presses a button of the dialog's button box as the user would.
inline void Press(QDialog& dialog, QDialogButtonBox::StandardButton which)
{
    auto* box = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(box, nullptr);
    ASSERT_NE(box->button(which), nullptr);
    box->button(which)->click();
}

// The child of `parent` with the given object name, which must exist.
template <typename Widget>
Widget& Child(const QObject& parent, const char* name)
{
    auto* widget = parent.findChild<Widget*>(name);
    if (!widget)
        throw std::runtime_error(std::string("no control ") + name);
    return *widget;
}

}   // namespace dialogtest
