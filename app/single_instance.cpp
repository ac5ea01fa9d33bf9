#include "app/single_instance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QLocalSocket>

namespace tama05 {

namespace {

// Generous waits: the running game may be busy painting when a second start knocks.
constexpr int kConnectMs = 2000;
constexpr int kAnswerMs = 10000;
// A handed-over line is a path; anything longer is not ours.
constexpr qint64 kMaxLine = 64 * 1024;
constexpr char kTaken[] = "ok\n";

}  // namespace

QString SingleInstance::NameFor(const QString& settingsFile) {
    QString name = QStringLiteral("tama05-%1").arg(static_cast<qulonglong>(::getuid()));
    if (!settingsFile.isEmpty()) {
        const QByteArray hash =
            QCryptographicHash::hash(settingsFile.toUtf8(), QCryptographicHash::Sha1).toHex();
        name += QLatin1Char('-') + QString::fromLatin1(hash.left(16));
    }
    return name;
}

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), m_name(std::move(name)) {
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::Accept);
}

bool SingleInstance::HandOver(const QString& puzzlePath) {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kConnectMs)) {
        return false;
    }
    socket.write(puzzlePath.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(kAnswerMs)) {
        return false;
    }
    // The running game answers once it has the path, so nothing is lost when this one ends.
    QByteArray answer;
    while (!answer.contains('\n') && socket.waitForReadyRead(kAnswerMs)) {
        answer += socket.readAll();
    }
    return answer == kTaken;
}

bool SingleInstance::Listen() {
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server.listen(m_name)) {
        return true;
    }
    // No game answered, so the socket file was left behind by one that ended abnormally.
    QLocalServer::removeServer(m_name);
    return m_server.listen(m_name);
}

void SingleInstance::Accept() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxLine) {
                    socket->abort();
                }
                return;
            }
            QByteArray line = socket->readLine(kMaxLine);
            line.chop(1);
            socket->write(kTaken);
            socket->flush();
            socket->disconnectFromServer();
            emit puzzleHandedOver(QString::fromUtf8(line));
        });
    }
}

}  // namespace tama05
