// norda-converter as a process, as scripts and the measuring station start it.
#include "support/Files.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include <fstream>

using testing_support::readBytes;
using testing_support::TemporaryDirectory;

namespace {

const QString kProgram = QStringLiteral(NORDA_PROGRAM_DIR "/norda-converter");
const std::filesystem::path kExamples = std::filesystem::path(NORDA_SOURCE_DIR) / "examples";

struct Finished {
    bool finished = false;
    int exitCode = -1;
    QString errors;
};

// Runs the program with the settings file of its own; a program that waits is killed after a while.
Finished run(const QStringList& arguments, const TemporaryDirectory& config, const std::string& snapshot, int waitMs = 20000)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(config.path().string()));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    environment.insert(QStringLiteral("VELTRUM_SNAPSHOT"), QString::fromStdString((kExamples / snapshot).string()));
    environment.remove(QStringLiteral("NORDA_CODEPAGE"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(kProgram, arguments);
    Finished result;
    result.finished = process.waitForFinished(waitMs);
    if (!result.finished) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.errors = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

void writeSettings(const TemporaryDirectory& config, const std::string& lines)
{
    testing_support::writeBytes(config / "VELTRUM_NORDA_KONVERTER.ini", "[Settings]\n" + lines);
}

} // namespace

class DesktopProgramProcessTest : public QObject {
    Q_OBJECT

private slots:
    void slashAConvertsAndEnds()
    {
        TemporaryDirectory config;
        TemporaryDirectory out;
        writeSettings(config, "DIR=" + out.path().string() + "\nKOMMENTARE=1\n");
        const Finished first = run({QStringLiteral("/a")}, config, "pump-housing.json");
        QVERIFY(first.finished);
        QCOMPARE(first.exitCode, 0);
        QCOMPARE(out.listing(), std::string("PUMP HOUSING A1.dfd PUMP HOUSING A1.dfx"));
        QVERIFY(readBytes(out / "PUMP HOUSING A1.dfd") ==
                readBytes(testing_support::testDataDir() / "golden" / "cli" / "pump-housing.dfd"));

        const Finished second = run({QStringLiteral("/A")}, config, "pump-housing.json");
        QVERIFY(second.finished);
        QCOMPARE(second.exitCode, 0);
        const std::string values = readBytes(out / "PUMP HOUSING A1.dfx");
        QCOMPARE(std::count(values.begin(), values.end(), '\n'), std::ptrdiff_t(2));
    }

    void combinedModeFromTheStoredSettings()
    {
        TemporaryDirectory config;
        TemporaryDirectory out;
        writeSettings(config, "DIR=" + out.path().string() + "\nDFQ=1\n");
        const Finished result = run({QStringLiteral("/a")}, config, "gearbox-cover.json");
        QVERIFY(result.finished);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(out.listing(), std::string("GEARBOX COVER 7.dfq"));
    }

    void withoutSwitchItWaitsForTheOperator()
    {
        TemporaryDirectory config;
        TemporaryDirectory out;
        writeSettings(config, "DIR=" + out.path().string() + "\n");
        const Finished result = run({QStringLiteral("-a")}, config, "pump-housing.json", 4500);
        QVERIFY(!result.finished);
        QCOMPARE(out.listing(), std::string());
    }
};

QTEST_GUILESS_MAIN(DesktopProgramProcessTest)
#include "DesktopProgramProcessTest.moc"
