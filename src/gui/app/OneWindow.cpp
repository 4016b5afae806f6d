// SPDX-License-Identifier: MIT
#include "gui/app/OneWindow.h"

#include <QDBusMessage>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

namespace dirscribe {

namespace {

const QString kObjectPath = QStringLiteral("/org/dirscribe/Dirscribe");
const QString kInterface = QStringLiteral("org.freedesktop.Application");
// The other start waits this long for an answer before it opens a window of its own.
constexpr int kAnswerMilliseconds = 10000;
// What the socket's server answers once it has a request.
const QByteArray kTaken = QByteArrayLiteral("ok\n");

// A file as the other side is told it: a file URI, which holds no line end.
QString UriOf(const QString& file) {
    return QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toString(QUrl::FullyEncoded);
}

QString FileOf(const QString& uri) {
    const QUrl url(uri);
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

} // namespace

OneWindow::OneWindow(QDBusConnection bus, QString service, QString socketPath, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)), m_service(std::move(service)),
      m_socketPath(std::move(socketPath)) {}

OneWindow::~OneWindow() {
    if (m_onBus) {
        m_bus.unregisterService(m_service);
        m_bus.unregisterObject(kObjectPath);
    }
}

std::unique_ptr<OneWindow> OneWindow::ForThisSession() {
    return std::make_unique<OneWindow>(
        QDBusConnection::sessionBus(), QString::fromLatin1(kDesktopId),
        SocketIn(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)));
}

QString OneWindow::SocketIn(const QString& runtimeFolder) {
    return QDir(runtimeFolder)
        .filePath(QString::fromLatin1(kDesktopId) + QStringLiteral(".window"));
}

bool OneWindow::Claim() {
    if (!m_bus.isConnected())
        return ClaimSocket();
    // The object first: a call may come as soon as the name is ours.
    if (!m_bus.registerObject(kObjectPath, this, QDBusConnection::ExportScriptableSlots))
        return false;
    if (!m_bus.registerService(m_service)) {
        m_bus.unregisterObject(kObjectPath);
        return false;
    }
    m_onBus = true;
    return true;
}

bool OneWindow::ClaimSocket() {
    QLockFile lock(m_socketPath + QStringLiteral(".lock"));
    if (!lock.tryLock(kAnswerMilliseconds))
        return false;
    QLocalSocket probe;
    probe.connectToServer(m_socketPath);
    if (probe.waitForConnected(kAnswerMilliseconds))
        return false; // a window listens
    // Whatever is left there is a socket of a window that has ended.
    QLocalServer::removeServer(m_socketPath);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_socketPath)) {
        delete m_server;
        m_server = nullptr;
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &OneWindow::ServeConnection);
    return true;
}

bool OneWindow::HandOver(const QString& file) {
    if (!m_bus.isConnected())
        return HandOverBySocket(file);
    QDBusMessage call = QDBusMessage::createMethodCall(m_service, kObjectPath, kInterface,
                                                       file.isEmpty() ? QStringLiteral("Activate")
                                                                      : QStringLiteral("Open"));
    if (file.isEmpty())
        call << QVariantMap();
    else
        call << QStringList{UriOf(file)} << QVariantMap();
    return m_bus.call(call, QDBus::Block, kAnswerMilliseconds).type() == QDBusMessage::ReplyMessage;
}

bool OneWindow::HandOverBySocket(const QString& file) const {
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(kAnswerMilliseconds))
        return false;
    socket.write((file.isEmpty() ? QString() : UriOf(file)).toUtf8() + '\n');
    if (!socket.waitForBytesWritten(kAnswerMilliseconds))
        return false;
    while (socket.bytesAvailable() < kTaken.size())
        if (!socket.waitForReadyRead(kAnswerMilliseconds))
            return false;
    return socket.readAll() == kTaken;
}

void OneWindow::ServeConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            const QString uri = QString::fromUtf8(socket->readLine()).trimmed();
            socket->write(kTaken);
            socket->flush();
            socket->disconnectFromServer();
            if (uri.isEmpty())
                Take({});
            else if (const QString file = FileOf(uri); !file.isEmpty())
                Take(file);
        });
    }
}

void OneWindow::Activate(const QVariantMap& /*platformData*/) {
    Take({});
}

void OneWindow::Open(const QStringList& uris, const QVariantMap& /*platformData*/) {
    // One window shows one listing: the first file is opened.
    for (const QString& uri : uris) {
        if (const QString file = FileOf(uri); !file.isEmpty()) {
            Take(file);
            return;
        }
    }
}

void OneWindow::Take(const QString& file) {
    // After the answer has gone: opening may ask a question first.
    QTimer::singleShot(0, this, [this, file] { emit OpenRequested(file); });
}

} // namespace dirscribe
