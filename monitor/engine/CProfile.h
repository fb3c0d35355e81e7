// Typed access to Quorlex's profile (QSettings "Brantel"/"Quorlex").
//
// Every read goes through a key of ProfileKeys.h. A stored value that cannot
// be right (not a number, a port of 0, a negative timeout, ...) is reported
// as a text to whoever shows problems to the user, and the key's default is
// used instead; the stored value itself is left alone.
//
// Thread safety: every member may be called from any thread; calls are
// serialised by one lock. The problem sink is called on the reading thread,
// outside the lock.
#pragma once

#include "engine/ProfileKeys.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class QSettings;

// The six sizes of a resizable docking bar, one width and height per docking state.
struct BarSizes {
    std::int32_t horzCx = 0, horzCy = 0;
    std::int32_t vertCx = 0, vertCy = 0;
    std::int32_t floatCx = 0, floatCy = 0;
    bool operator==(const BarSizes&) const = default;
};

class CProfile {
public:
    using ProblemSink = std::function<void(const QString& text)>;

    // The user's own profile.
    CProfile();
    // A profile kept in an INI file of the given path (tests, other users).
    explicit CProfile(const QString& iniFile);
    ~CProfile();
    CProfile(const CProfile&) = delete;
    CProfile& operator=(const CProfile&) = delete;

    std::int32_t Read(const IntSetting& key) const;
    QString Read(const TextSetting& key) const;
    std::uint32_t Read(const AddressSetting& key) const;
    QByteArray Read(const BytesSetting& key) const;

    void Write(const IntSetting& key, std::int32_t value);
    void Write(const TextSetting& key, const QString& value);
    void Write(const AddressSetting& key, std::uint32_t value);
    void Write(const BytesSetting& key, const QByteArray& value);

    // A sizing bar's sizes under "<prefix>-SCBar-<barId>"; every value that is
    // absent (or not a number, which is reported) keeps the one in `current`.
    BarSizes ReadBarSizes(int barId, const BarSizes& current) const;
    void WriteBarSizes(int barId, const BarSizes& sizes);

    // Writes pending changes to the backing store; a store that cannot be
    // written is reported like a wrong value, and false returned.
    bool Sync();

    // Problems go to `sink` from now on; without a sink they are kept and
    // handed out by TakeProblems (for a GUI that shows them when it can).
    void SetProblemSink(ProblemSink sink);
    QStringList TakeProblems();

private:
    QVariant Value(const char* section, const char* name) const;
    // The stored number when it lies in [min, max]; nothing when it is absent
    // or reported as wrong.
    std::optional<std::int64_t> ReadNumber(const char* section, const char* name, std::int64_t min, std::int64_t max,
                                           const QString& expected, const QString& fallback) const;
    void Store(const char* section, const char* name, const QVariant& value);
    void Report(const QString& text) const;

    std::unique_ptr<QSettings> m_settings;
    mutable std::mutex m_lock;   // guards m_settings, m_sink and m_problems
    ProblemSink m_sink;
    mutable QStringList m_problems;
};
