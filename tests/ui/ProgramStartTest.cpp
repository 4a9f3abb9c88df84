// The program itself, started twice: the second start hands its file to the first and ends.
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaveBuilder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <unistd.h>

namespace sonavel::test {
namespace {

// Waits (at most 20 s) until the running program has made the file; false when it ends first.
bool WaitForFile(QProcess& running, const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 20000) {
        if (QFile::exists(path)) {
            return true;
        }
        if (running.waitForFinished(50)) {
            return false;
        }
    }
    return false;
}

TEST(ProgramStartTest, ASecondStartForwardsItsFilesAndEnds)
{
    TempDir dir;
    const auto wave =
        dir.Write("a.wav", WaveBuilder().Format(1, 2, 44100, 16).Data(CountingBytes(4 * 4410)).Build());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The running instance's socket lives in the temporary folder, here one of the test's own, and
    // the configuration stays in the test's folder too.
    environment.insert(QStringLiteral("TMPDIR"), QString::fromStdString(dir.Path().string()));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       QString::fromStdString((dir.Path() / "config").string()));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QString program = QString::fromStdString((ProgramDir() / "KESTRANE-Sonavel").string());
    const QString socket = QDir(QString::fromStdString(dir.Path().string()))
                               .filePath(QStringLiteral("KESTRANE Sonavel-%1").arg(getuid()));

    QProcess first;
    first.setProcessEnvironment(environment);
    first.start(program, {QString::fromStdString(wave.string())});
    ASSERT_TRUE(first.waitForStarted(10000));
    ASSERT_TRUE(WaitForFile(first, socket));

    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(program, {QString::fromStdString(wave.string())});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    first.terminate();
    EXPECT_TRUE(first.waitForFinished(10000));
}

} // namespace
} // namespace sonavel::test
