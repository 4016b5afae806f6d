// SPDX-License-Identifier: MIT
// One window for the user's session: a later start hands its document to the running one.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <memory>

class QLocalServer;

namespace dirscribe {

// The first start claims the program's desktop id on the session bus, where it serves the
// desktop's org.freedesktop.Application interface at /org/dirscribe/Dirscribe; where there is
// no session bus, it listens on a local socket in the user's runtime folder instead (a lock
// file keeps two starts from claiming it at once). A later start finds the claim taken and
// hands its document over (HandOver), then ends. What is handed over reaches OpenRequested
// after the call has been answered, so a question the window asks before opening never
// keeps the other start waiting.
class OneWindow final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    static constexpr const char* kDesktopId = "org.dirscribe.Dirscribe";

    // Claims `service` on `bus` when it is connected, else the socket at `socketPath`.
    OneWindow(QDBusConnection bus, QString service, QString socketPath, QObject* parent = nullptr);
    ~OneWindow() override;
    // The session bus and the desktop id, or the socket in this user's runtime folder.
    static std::unique_ptr<OneWindow> ForThisSession();
    // The socket a window listens on in a runtime folder.
    static QString SocketIn(const QString& runtimeFolder);

    // True when no window has claimed yet: this one serves from now on.
    bool Claim();
    // Asks the window that has claimed to open `file` (empty: to come to the front); true
    // once it has taken the request.
    [[nodiscard]] bool HandOver(const QString& file);

public slots:
    // The interface the desktop calls (file URIs; the platform data is not needed).
    Q_SCRIPTABLE void Activate(const QVariantMap& platformData);
    Q_SCRIPTABLE void Open(const QStringList& uris, const QVariantMap& platformData);

signals:
    // A later start asked to show `file` (empty: the window itself).
    void OpenRequested(const QString& file);

private:
    bool ClaimSocket();
    [[nodiscard]] bool HandOverBySocket(const QString& file) const;
    void Take(const QString& file);
    void ServeConnection();

    QDBusConnection m_bus;
    QString m_service;
    QString m_socketPath;
    QLocalServer* m_server = nullptr;
    bool m_onBus = false;
};

} // namespace dirscribe
