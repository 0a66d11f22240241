// Apple events over the D-Bus session bus, the transport used where no Apple Event
// Manager exists. An application that answers events owns the bus name
// "org.quillery.AppleEvents.<signature>" (for Final Cut Pro 7: ...AppleEvents.KeyG; a
// signature that is not four letters or digits is written as "x" and eight hex digits)
// and serves, at the object path "/org/quillery/AppleEvents", the interface
// "org.quillery.AppleEvents1" with one method:
//
//   Send(s eventClass, s eventID, a{s(sv)} parameters) -> a{s(sv)} reply
//
// The strings are four-character codes. Every descriptor travels as a struct (sv) of its
// type code and its value: "utf8", "furl", "fsrf" (an absolute path) and "sign" as s,
// "cgfl" as d, "long" as i, "list" as a(sv) and "reco" as a{s(sv)} keyed by the field
// codes. A reply's "errn" is a parameter like any other; D-Bus errors stand for the
// failures of delivery (no owner of the name, no answer in time, no such method).
#pragma once

#include "AppleEvent.h"

#include <QDBusConnection>
#include <QDBusVirtualObject>

namespace quillery {

QString appleEventServiceName(FourCharCode signature);
extern const QString kAppleEventObjectPath;
extern const QString kAppleEventInterface;

// Sends events as synchronous method calls with D-Bus's default time-out.
class DBusAppleEventTransport : public AppleEventTransport {
public:
    explicit DBusAppleEventTransport(
        const QDBusConnection& connection = QDBusConnection::sessionBus());

    // Delivery failures map to the Apple Event Manager's numbers: no owner of the
    // name is procNotFound, no answer in time errAETimeout, a missing method
    // errAEEventNotHandled, no bus connectionInvalid, anything else errAEEventFailed.
    int32_t sendAndWait(const AppleEvent& event, AEDesc& reply) override;

private:
    QDBusConnection connection_;
};

// What answers the events an application receives.
class AppleEventHandler {
public:
    virtual ~AppleEventHandler() = default;
    // The reply's parameters, a record; put "errn" in it to report a failure.
    virtual AEDesc handleAppleEvent(const AppleEvent& event) = 0;
};

// Receives events on the bus for one application and hands them to its handler.
class AppleEventDBusServer : public QDBusVirtualObject {
public:
    AppleEventDBusServer(AppleEventHandler& handler, const QDBusConnection& connection);
    ~AppleEventDBusServer() override;

    // Serves the object and takes the application's bus name; false when there is no
    // bus or another process owns the name already.
    bool start(FourCharCode signature);

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    AppleEventHandler& handler_;
    QDBusConnection connection_;
    QString serviceName_;
};

} // namespace quillery
