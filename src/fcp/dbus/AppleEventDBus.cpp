#include "AppleEventDBus.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QMap>

namespace quillery {

namespace {

// A descriptor as it travels: (type code, value).
struct WireDesc {
    QString type;
    QDBusVariant value;
};
using WireList = QList<WireDesc>;
using WireRecord = QMap<QString, WireDesc>;

const QString kSendMethod = QStringLiteral("Send");
const QString kSendSignature = QStringLiteral("ssa{s(sv)}");
const char* const kListSignature = "a(sv)";
const char* const kRecordSignature = "a{s(sv)}";

} // namespace
} // namespace quillery

Q_DECLARE_METATYPE(quillery::WireDesc)

namespace quillery {

namespace {

QDBusArgument& operator<<(QDBusArgument& argument, const WireDesc& desc) {
    argument.beginStructure();
    argument << desc.type << desc.value;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, WireDesc& desc) {
    argument.beginStructure();
    argument >> desc.type >> desc.value;
    argument.endStructure();
    return argument;
}

void registerWireTypes() {
    static const bool registered = [] {
        qDBusRegisterMetaType<WireDesc>();
        qDBusRegisterMetaType<WireList>();
        qDBusRegisterMetaType<WireRecord>();
        return true;
    }();
    Q_UNUSED(registered);
}

WireDesc toWire(const AEDesc& desc);

WireRecord toWireRecord(const AEDesc& record) {
    WireRecord fields;
    for (const AEDesc& field : record.items)
        fields.insert(fourCharCodeText(field.key), toWire(field));
    return fields;
}

WireDesc toWire(const AEDesc& desc) {
    QVariant value = desc.value;
    if (desc.descriptorType == typeAEList) {
        WireList items;
        for (const AEDesc& item : desc.items)
            items << toWire(item);
        value = QVariant::fromValue(items);
    } else if (desc.descriptorType == typeAERecord) {
        value = QVariant::fromValue(toWireRecord(desc));
    } else if (!value.isValid()) {
        // D-Bus has no empty variant: a value-less descriptor travels as an empty text.
        value = QString();
    }
    return {fourCharCodeText(desc.descriptorType), QDBusVariant(value)};
}

// The container a variant holds, when it has the expected D-Bus signature.
template <class Container>
std::optional<Container> containerOf(const QVariant& value, const char* signature) {
    if (value.metaType() == QMetaType::fromType<Container>())
        return value.value<Container>();
    if (value.metaType() != QMetaType::fromType<QDBusArgument>())
        return std::nullopt;
    const auto argument = value.value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String(signature))
        return std::nullopt;
    Container container;
    argument >> container;
    return container;
}

QMetaType::Type scalarTypeOf(DescType type) {
    if (type == typeCGFloat)
        return QMetaType::Double;
    if (type == typeSInt32)
        return QMetaType::Int;
    return QMetaType::QString;
}

std::optional<AEDesc> fromWire(const WireDesc& wire);

std::optional<AEDesc> fromWireRecord(const WireRecord& fields) {
    AEDesc record = AEDesc::record();
    for (auto field = fields.cbegin(); field != fields.cend(); ++field) {
        const std::optional<AEKeyword> key = fourCharCodeFromText(field.key());
        std::optional<AEDesc> value = fromWire(field.value());
        if (!key || !value)
            return std::nullopt;
        record.putField(*key, std::move(*value));
    }
    return record;
}

// Nothing when the codes or the nesting are malformed. A scalar of another type than
// its code promises is kept with an empty value, so the reader finds it unreadable.
std::optional<AEDesc> fromWire(const WireDesc& wire) {
    const std::optional<DescType> type = fourCharCodeFromText(wire.type);
    if (!type)
        return std::nullopt;
    const QVariant& value = wire.value.variant();
    if (*type == typeAEList) {
        const std::optional<WireList> items = containerOf<WireList>(value, kListSignature);
        if (!items)
            return std::nullopt;
        AEDesc list = AEDesc::list();
        for (const WireDesc& item : *items) {
            std::optional<AEDesc> element = fromWire(item);
            if (!element)
                return std::nullopt;
            list.items.push_back(std::move(*element));
        }
        return list;
    }
    if (*type == typeAERecord) {
        const std::optional<WireRecord> fields = containerOf<WireRecord>(value, kRecordSignature);
        return fields ? fromWireRecord(*fields) : std::nullopt;
    }
    AEDesc scalar{*type, {}, {}, 0};
    if (value.typeId() == scalarTypeOf(*type))
        scalar.value = value;
    return scalar;
}

std::optional<AEDesc> recordFromArgument(const QVariant& argument) {
    const std::optional<WireRecord> fields = containerOf<WireRecord>(argument, kRecordSignature);
    return fields ? fromWireRecord(*fields) : std::nullopt;
}

int32_t errorNumberOfDelivery(const QDBusError& error) {
    if (error.name() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
        return procNotFound;
    switch (error.type()) {
    case QDBusError::ServiceUnknown:
        return procNotFound;
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
        return errAETimeout;
    case QDBusError::UnknownMethod:
    case QDBusError::UnknownObject:
    case QDBusError::UnknownInterface:
        return errAEEventNotHandled;
    case QDBusError::Disconnected:
    case QDBusError::NoServer:
        return connectionInvalid;
    default:
        return errAEEventFailed;
    }
}

bool isSignatureCharacter(QChar c) {
    return c.isLetterOrNumber() && c.unicode() < 0x80;
}

} // namespace

const QString kAppleEventObjectPath = QStringLiteral("/org/quillery/AppleEvents");
const QString kAppleEventInterface = QStringLiteral("org.quillery.AppleEvents1");

QString appleEventServiceName(FourCharCode signature) {
    const QString text = fourCharCodeText(signature);
    const bool readable = std::all_of(text.cbegin(), text.cend(), isSignatureCharacter);
    const QString element =
        readable ? text : QStringLiteral("x%1").arg(signature, 8, 16, QLatin1Char('0'));
    return QStringLiteral("org.quillery.AppleEvents.") + element;
}

DBusAppleEventTransport::DBusAppleEventTransport(const QDBusConnection& connection)
    : connection_(connection) {
    registerWireTypes();
}

int32_t DBusAppleEventTransport::sendAndWait(const AppleEvent& event, AEDesc& reply) {
    if (!connection_.isConnected())
        return connectionInvalid;
    QDBusMessage call =
        QDBusMessage::createMethodCall(appleEventServiceName(event.targetSignature()),
                                       kAppleEventObjectPath, kAppleEventInterface, kSendMethod);
    call << fourCharCodeText(event.eventClass) << fourCharCodeText(event.eventID)
         << QVariant::fromValue(toWireRecord(event.parameters));
    const QDBusMessage answer = connection_.call(call, QDBus::Block);
    if (answer.type() != QDBusMessage::ReplyMessage)
        return errorNumberOfDelivery(QDBusError(answer));
    std::optional<AEDesc> parameters = answer.arguments().size() == 1
                                           ? recordFromArgument(answer.arguments().front())
                                           : std::nullopt;
    if (!parameters)
        return errAEEventFailed;
    reply = std::move(*parameters);
    return noErr;
}

AppleEventDBusServer::AppleEventDBusServer(AppleEventHandler& handler,
                                           const QDBusConnection& connection)
    : handler_(handler), connection_(connection) {
    registerWireTypes();
}

AppleEventDBusServer::~AppleEventDBusServer() {
    if (!serviceName_.isEmpty()) {
        connection_.unregisterService(serviceName_);
        connection_.unregisterObject(kAppleEventObjectPath);
    }
}

bool AppleEventDBusServer::start(FourCharCode signature) {
    if (!connection_.isConnected() || !connection_.registerVirtualObject(
                                          kAppleEventObjectPath, this, QDBusConnection::SingleNode))
        return false;
    const QString name = appleEventServiceName(signature);
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> owned =
        connection_.interface()->registerService(name, QDBusConnectionInterface::DontQueueService,
                                                 QDBusConnectionInterface::DontAllowReplacement);
    if (!owned.isValid() || owned.value() != QDBusConnectionInterface::ServiceRegistered) {
        connection_.unregisterObject(kAppleEventObjectPath);
        return false;
    }
    serviceName_ = name;
    return true;
}

QString AppleEventDBusServer::introspect(const QString&) const {
    return QStringLiteral("<interface name=\"%1\">"
                          "<method name=\"%2\">"
                          "<arg name=\"eventClass\" type=\"s\" direction=\"in\"/>"
                          "<arg name=\"eventID\" type=\"s\" direction=\"in\"/>"
                          "<arg name=\"parameters\" type=\"a{s(sv)}\" direction=\"in\"/>"
                          "<arg name=\"reply\" type=\"a{s(sv)}\" direction=\"out\"/>"
                          "</method></interface>")
        .arg(kAppleEventInterface, kSendMethod);
}

bool AppleEventDBusServer::handleMessage(const QDBusMessage& message,
                                         const QDBusConnection& connection) {
    if (message.interface() != kAppleEventInterface || message.member() != kSendMethod)
        return false;
    const QList<QVariant> arguments = message.arguments();
    const std::optional<AEEventClass> eventClass =
        fourCharCodeFromText(arguments.value(0).toString());
    const std::optional<AEEventID> eventID = fourCharCodeFromText(arguments.value(1).toString());
    std::optional<AEDesc> parameters = message.signature() == kSendSignature
                                           ? recordFromArgument(arguments.value(2))
                                           : std::nullopt;
    if (!eventClass || !eventID || !parameters) {
        connection.send(message.createErrorReply(
            QDBusError::InvalidArgs,
            QStringLiteral("Send takes two four-character codes and a{s(sv)} parameters")));
        return true;
    }
    AppleEvent event;
    event.eventClass = *eventClass;
    event.eventID = *eventID;
    event.target = {typeApplSignature, serviceName_.section(u'.', -1), {}, 0};
    event.parameters = std::move(*parameters);
    const AEDesc reply = handler_.handleAppleEvent(event);
    connection.send(message.createReply(QVariant::fromValue(toWireRecord(reply))));
    return true;
}

} // namespace quillery
