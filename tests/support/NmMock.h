#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QVariantMap>

#include <functional>

// A private message bus with a mock NetworkManager on it, for tests: nothing
// of the machine's own buses or network is touched.
class NmMock {
public:
    NmMock();
    ~NmMock();
    NmMock(const NmMock &) = delete;
    NmMock &operator=(const NmMock &) = delete;

    // Empty when the bus and the mock are up, otherwise what went wrong.
    [[nodiscard]] QString error() const { return m_error; }
    [[nodiscard]] QString address() const { return m_address; }
    [[nodiscard]] QDBusConnection bus() const;

    // Starts NetworkManager again after kill(); false when it did not come up.
    [[nodiscard]] bool start();
    void kill();
    // Freezes the mock (it keeps its name but answers nothing), and thaws it.
    void pause(bool paused);

    // A saved connection; `settings` is its "connection" group plus any
    // other groups, keyed "group.key". Returns its object path.
    QString addConnection(const QString &id, const QString &type, const QVariantMap &settings = {});
    QString addDevice(const QString &name, uint state);
    // An active connection of `connection` on `device`, as another program
    // would start it. Returns its object path.
    QString activate(const QString &connection, const QString &device, uint state, const QString &name);
    void removeActive(const QString &device, const QString &active);
    // Moves a device or an active connection to `state`, with the signals
    // NetworkManager sends.
    void setDeviceState(const QString &device, uint state, uint reason = 0);
    void setActiveState(const QString &active, uint state, uint reason = 0);
    // Makes ActivateConnection leave the new connection activating on
    // `device`, so the test can walk it through the states.
    void activateStepByStep(const QString &device);

    // Runs the event loop until `done` holds or `ms` have passed.
    static bool waitUntil(const std::function<bool()> &done, int ms = 5000);

private:
    QVariant mockCall(const QString &path, const QString &method, const QVariantList &arguments);
    void emitSignal(const QString &path, const QString &interface, const QString &name, const QString &signature,
        const QVariantList &arguments);
    void setProperty(const QString &path, const QString &interface, const QString &name, const QVariant &value);

    QTemporaryDir m_dir;
    QProcess m_daemon;
    QProcess m_mock;
    QString m_address;
    QString m_connectionName;
    QString m_error;
};
