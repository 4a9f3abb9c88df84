#include "ui/SingleInstance.h"

#include <QProcess>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <unistd.h>

namespace sonavel::test {
namespace {

QString UniqueName()
{
    return QStringLiteral("sonavel-ui-test-%1").arg(getpid());
}

int RunLaterStart(const QString& name, const QStringList& text)
{
    QProcess process;
    process.start(QStringLiteral(SONAVEL_FORWARD_PROBE), QStringList{name} + text);
    // The running instance answers from this thread's event loop while the other process waits.
    while (!process.waitForFinished(10)) {
        QCoreApplication::processEvents();
        if (process.state() == QProcess::NotRunning) {
            break;
        }
    }
    QCoreApplication::processEvents();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

TEST(SingleInstanceTest, LaterStartsForwardTheirFilesToTheRunningOne)
{
    CSingleInstance running(UniqueName());
    ASSERT_TRUE(running.Listen());
    QSignalSpy received(&running, &CSingleInstance::textReceived);

    EXPECT_EQ(RunLaterStart(UniqueName(), {QStringLiteral("/music/a.wav|/music/b b.dff")}), 0);
    ASSERT_TRUE(received.count() == 1 || received.wait(5000));
    EXPECT_EQ(received.at(0).first().toString(), QStringLiteral("/music/a.wav|/music/b b.dff"));

    // Without files the later start only asks for the window.
    EXPECT_EQ(RunLaterStart(UniqueName(), {}), 0);
    ASSERT_TRUE(received.count() == 2 || received.wait(5000));
    EXPECT_TRUE(received.at(1).first().toString().isEmpty());
}

TEST(SingleInstanceTest, AStartWithoutRunningInstanceBecomesIt)
{
    EXPECT_EQ(RunLaterStart(UniqueName() + QStringLiteral("-alone"), {QStringLiteral("x.wav")}), 3);
    // The socket that process left behind is taken over by the next start.
    CSingleInstance next(UniqueName() + QStringLiteral("-alone"));
    EXPECT_TRUE(next.Listen());
}

TEST(SingleInstanceTest, TheNameBelongsToThisUser)
{
    EXPECT_EQ(CSingleInstance::ServerNameForThisUser(), QStringLiteral("KESTRANE Sonavel-%1").arg(getuid()));
}

} // namespace
} // namespace sonavel::test
