#include "ui/SingleInstance.h"

#include "app/StringTable.h"
#include "ui/QtText.h"

#include <QLocalSocket>

#include <unistd.h>

namespace sonavel {
namespace {

constexpr int kForwardTimeoutMs = 3000;
// Forwarded texts are file lists; anything larger is not one.
constexpr qint64 kMaxForwardBytes = 16 * 1024 * 1024;
// Starts every forwarded text, so that the probe of a starting instance, which sends nothing,
// is not taken for a start without files.
constexpr char16_t kForwardMark = u'\x1e';

} // namespace

CSingleInstance::CSingleInstance(QString serverName, QObject* parent)
    : QObject(parent), serverName_(std::move(serverName))
{
    connect(&server_, &QLocalServer::newConnection, this, &CSingleInstance::OnConnection);
}

QString CSingleInstance::ServerNameForThisUser()
{
    return ToQString(LoadString(strings::kWindowClassName)) + QStringLiteral("-%1").arg(getuid());
}

bool CSingleInstance::Listen()
{
    // Listening with access options replaces an existing socket, so ask first whether an
    // instance answers; a socket left by a crashed instance answers nobody and is taken over.
    QLocalSocket probe;
    probe.connectToServer(serverName_);
    if (probe.waitForConnected(kForwardTimeoutMs)) {
        probe.abort();
        return false;
    }
    QLocalServer::removeServer(serverName_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    return server_.listen(serverName_);
}

bool CSingleInstance::Forward(const QString& serverName, const std::u16string& text)
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(kForwardTimeoutMs)) {
        return false;
    }
    const std::u16string marked = kForwardMark + text;
    const QByteArray bytes(reinterpret_cast<const char*>(marked.data()),
                           static_cast<qsizetype>(marked.size() * 2));
    socket.write(bytes);
    if (!socket.waitForBytesWritten(kForwardTimeoutMs)) {
        return false;
    }
    socket.disconnectFromServer();
    return socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(kForwardTimeoutMs);
}

void CSingleInstance::OnConnection()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, socket, [socket, buffer] {
            buffer->append(socket->readAll());
            if (buffer->size() > kMaxForwardBytes) {
                buffer->clear();
                socket->abort();
            }
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket, buffer] {
            buffer->append(socket->readAll());
            const QString text(reinterpret_cast<const QChar*>(buffer->constData()), buffer->size() / 2);
            if (text.startsWith(QChar(kForwardMark))) {
                emit textReceived(text.mid(1));
            }
            socket->deleteLater();
        });
    }
}

} // namespace sonavel
