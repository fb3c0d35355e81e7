// tools/radio-federate run as another process of the GUI test's federation
// (it inherits the test's RID file through the environment), until it is
// stopped or the object goes.
#pragma once

#include "monitor/hla/HlaTestSupport.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStringList>

class RadioFederateProcess {
public:
    // `arguments` come after the federation and the FED file of the program.
    RadioFederateProcess(const QString& federation, const QStringList& arguments)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QLX_BINARY_ROOT "/bin/radio-federate",
                        QStringList{"--federation", federation, "--fed",
                                    QString::fromStdString(hlatest::FedDirectory()) + "/qlxRprFom10.fed"} +
                            arguments);
    }
    ~RadioFederateProcess()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    RadioFederateProcess(const RadioFederateProcess&) = delete;
    RadioFederateProcess& operator=(const RadioFederateProcess&) = delete;

    // True once it has joined and registered its radios.
    bool WaitUntilReady()
    {
        QDeadlineTimer deadline(20000);
        while (!m_output.contains("ready")) {
            if (deadline.hasExpired() || !m_process.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
                return m_output.contains("ready");
            m_output += m_process.readAllStandardOutput();
        }
        return true;
    }
    // Asks it to end as an operator would (Ctrl-C): it deletes its radios and resigns.
    bool Stop()
    {
        m_process.terminate();
        return m_process.waitForFinished(10000) && m_process.exitCode() == 0;
    }

private:
    QProcess m_process;
    QByteArray m_output;
};
