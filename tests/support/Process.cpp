#include "Process.h"

#include <QProcess>

#include <string.h>

namespace testing_support {

ChildProcess::ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments, const EnvironmentChanges& environment)
    : m_process(std::make_unique<QProcess>())
{
    QStringList argumentList;
    for (const std::string& argument : arguments)
        argumentList.append(QString::fromStdString(argument));
    QProcessEnvironment childEnvironment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : environment) {
        if (value.empty())
            childEnvironment.remove(QString::fromStdString(name));
        else
            childEnvironment.insert(QString::fromStdString(name), QString::fromStdString(value));
    }
    m_process->setProcessEnvironment(childEnvironment);
    m_process->setStandardInputFile(QProcess::nullDevice());
    m_process->start(QString::fromStdString(program.string()), argumentList);
}

ChildProcess::ChildProcess(ChildProcess&&) noexcept = default;
ChildProcess::~ChildProcess() = default;

ProcessResult ChildProcess::wait(int limitMilliseconds)
{
    ProcessResult result;
    if (!m_process->waitForStarted()) {
        result.err = "cannot start " + m_process->program().toStdString() + ": " + m_process->errorString().toStdString();
        return result;
    }
    const bool finished = m_process->waitForFinished(limitMilliseconds);
    if (!finished) {
        m_process->kill();
        m_process->waitForFinished();
    }
    result.out = m_process->readAllStandardOutput().toStdString();
    result.err = m_process->readAllStandardError().toStdString();
    if (!finished)
        result.exitCode = kTimedOut;
    else if (m_process->exitStatus() == QProcess::NormalExit)
        result.exitCode = m_process->exitCode();
    else // after a crash, QProcess on Unix keeps the number of the signal as the exit code
        result.err += std::string("[ended by signal ") + ::strsignal(m_process->exitCode()) + "]";
    return result;
}

} // namespace testing_support
