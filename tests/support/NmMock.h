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
    // Like the real daemon it takes its name a moment before its objects exist.
    [[nodiscard]] bool start();
    // Only the name, for as long as the test likes: every call meanwhile
    // fails as it does on the real daemon. publishObjects() ends it.
    [[nodiscard]] bool startNameOnly();
    void publishObjects();
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
    // Makes a method of the manager answer only after `seconds` (the whole
    // mock waits, as a daemon behind a password prompt seems to).
    void answerSlowly(const QString &method, double seconds);
    // Makes DeactivateConnection take the request on and answer at once
    // while the line stays up, as the daemon does before it acts on it.
    void takeHangUpsOnly();
    // Makes a method of the manager refused by the bus, as a policy refuses
    // a user who may not control the network.
    void refuseByPolicy(const QString &method);
    // Makes a method of the manager fail with NetworkManager's own error.
    void refuse(const QString &method, const QString &errorName, const QString &text);
    // Sends `changed` as a PropertiesChanged of `interface` at `path`
    // without changing anything, odd types and all.
    void sendPropertiesChanged(const QString &path, const QString &interface, const QVariantMap &changed);
    // Sends a StateChanged without changing the state it claims.
    void sendStateChanged(const QString &path, const QString &interface, const QVariantList &arguments);
    // Sets a property to any value, of any type.
    void setRawProperty(const QString &path, const QString &interface, const QString &name, const QVariant &value);

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
