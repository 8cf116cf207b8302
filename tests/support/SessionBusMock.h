#pragma once

#include <QDBusConnection>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>

#include <functional>

// A private session bus for tests, and python-dbusmock services on it: the
// desktop's own buses are never touched.
class SessionBusMock {
public:
    SessionBusMock();
    ~SessionBusMock();
    SessionBusMock(const SessionBusMock &) = delete;
    SessionBusMock &operator=(const SessionBusMock &) = delete;

    // Empty when the bus is up, otherwise what went wrong.
    [[nodiscard]] QString error() const { return m_error; }
    [[nodiscard]] QString address() const { return m_address; }
    [[nodiscard]] QDBusConnection bus() const;

    // Runs python-dbusmock on the bus with `arguments` (a template, or a
    // name, path and interface) until `service` is there; false otherwise.
    [[nodiscard]] bool startMock(const QStringList &arguments, const QString &service);
    void stopMock();

    struct Call {
        QString method;
        QVariantList arguments;
    };
    // What the mock object received so far, oldest first.
    [[nodiscard]] QList<Call> calls(const QString &service, const QString &path) const;
    // Calls a method of the mock object's org.freedesktop.DBus.Mock interface.
    QVariant mockCall(
        const QString &service, const QString &path, const QString &method, const QVariantList &arguments) const;

    // Runs the event loop until `done` holds or `ms` have passed.
    static bool waitUntil(const std::function<bool()> &done, int ms = 5000);

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QProcess m_mock;
    QString m_address;
    QString m_connectionName;
    QString m_error;
};
