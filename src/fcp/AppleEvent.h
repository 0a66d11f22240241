// Apple events as Final Cut Pro 6 and 7 exchange them: four-character codes, typed
// descriptors, and `apple_event`, one object per event whose steps stop at the first
// error so that the first failure of a chain is the one reported. How an event reaches
// the application and how its reply comes back is a transport's business
// (AppleEventTransport); the descriptors here are the same on every transport.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <cstdint>
#include <optional>
#include <vector>

namespace quillery {

// Four characters packed big-endian, as the Apple Event Manager writes them.
using FourCharCode = uint32_t;
using DescType = FourCharCode;
using AEKeyword = FourCharCode;
using AEEventClass = FourCharCode;
using AEEventID = FourCharCode;

constexpr FourCharCode fourCharCode(const char (&code)[5]) {
    return static_cast<FourCharCode>(static_cast<uint8_t>(code[0])) << 24 |
           static_cast<FourCharCode>(static_cast<uint8_t>(code[1])) << 16 |
           static_cast<FourCharCode>(static_cast<uint8_t>(code[2])) << 8 |
           static_cast<FourCharCode>(static_cast<uint8_t>(code[3]));
}

// "KeyG" for fourCharCode("KeyG"); each byte is one Latin-1 character.
QString fourCharCodeText(FourCharCode code);
// Nothing unless the text is exactly four Latin-1 characters.
std::optional<FourCharCode> fourCharCodeFromText(const QString& text);

// The codes of the exchange with Final Cut Pro.
namespace fcp {
inline constexpr FourCharCode kSignature = fourCharCode("KeyG"); // also every event's class
inline constexpr AEEventID kListProjects = fourCharCode("fcLP");
inline constexpr AEEventID kExportProjectXML = fourCharCode("eXML");
inline constexpr AEEventID kExportCurrentSequenceXML = fourCharCode("eTCX");
inline constexpr AEEventID kGetSequenceXML = fourCharCode("gXML");
inline constexpr AEEventID kImportXML = fourCharCode("iXML");
inline constexpr AEKeyword kProjectFile = fourCharCode("fcpP");
inline constexpr AEKeyword kXMLVersion = fourCharCode("xmlV");
inline constexpr AEKeyword kSequenceUuid = fourCharCode("fcIU");
inline constexpr AEKeyword kXMLDocument = fourCharCode("xmlD");
inline constexpr AEKeyword kProjectList = fourCharCode("fcOP");
inline constexpr AEKeyword kProjectRecordFile = fourCharCode("fcPf");
} // namespace fcp

inline constexpr AEKeyword keyErrorNumber = fourCharCode("errn");

inline constexpr DescType typeNull = fourCharCode("null");
inline constexpr DescType typeUTF8Text = fourCharCode("utf8");
inline constexpr DescType typeCGFloat = fourCharCode("cgfl");
inline constexpr DescType typeSInt32 = fourCharCode("long");
inline constexpr DescType typeFSRef = fourCharCode("fsrf");
inline constexpr DescType typeFileURL = fourCharCode("furl");
inline constexpr DescType typeAEList = fourCharCode("list");
inline constexpr DescType typeAERecord = fourCharCode("reco");
inline constexpr DescType typeApplSignature = fourCharCode("sign");

// The Apple Event Manager's error numbers that this side produces or maps to.
enum AEError : int32_t {
    noErr = 0,
    ioErr = -36,
    fnfErr = -43,
    paramErr = -50,
    procNotFound = -600,
    connectionInvalid = -609,
    errAEDescNotFound = -1701,
    errAEEventNotHandled = -1708,
    errAETimeout = -1712,
    errAENoSuchObject = -1728,
    errAEEventFailed = -10000,
};

// One typed value. A file reference ("fsrf") names an existing file by its absolute
// path: the platform's own file references have no meaning outside it.
struct AEDesc {
    DescType descriptorType = typeNull;
    // QString for text, file references and signatures, double for "cgfl", qint32 for
    // "long"; empty for lists, records and values that could not be read.
    QVariant value;
    // The elements of a "list", the fields of a "reco".
    std::vector<AEDesc> items;
    // A field's key inside a record.
    AEKeyword key = 0;

    static AEDesc text(const QString& text) { return {typeUTF8Text, text, {}, 0}; }
    static AEDesc list() { return {typeAEList, {}, {}, 0}; }
    static AEDesc record() { return {typeAERecord, {}, {}, 0}; }

    // The field of a record, or nothing.
    const AEDesc* field(AEKeyword fieldKey) const;
    // Adds the field, replacing one with the same key.
    void putField(AEKeyword fieldKey, AEDesc value);
    // The path of a file reference ("fsrf" or "furl"); empty for anything else.
    QString filePath() const;
};

// An event as it travels: its class and id, its target's signature and its parameters.
struct AppleEvent {
    AEEventClass eventClass = 0;
    AEEventID eventID = 0;
    AEDesc target; // "sign": the application the event is addressed to
    int32_t returnID = 0;
    int32_t transactionID = 0; // any transaction
    AEDesc parameters = AEDesc::record();

    FourCharCode targetSignature() const;
};

// Delivers events to applications and brings their replies back.
class AppleEventTransport {
public:
    virtual ~AppleEventTransport() = default;
    // Sends the event and waits for the answer with the transport's default time-out:
    // noErr and the reply's parameters (a record), or the error that kept the event
    // from being delivered or answered.
    virtual int32_t sendAndWait(const AppleEvent& event, AEDesc& reply) = 0;
};

// One event to one application, built step by step. A step after a failed one does
// nothing, so send() reports the first error of the chain.
class apple_event {
public:
    explicit apple_event(AppleEventTransport& transport);

    void create(AEEventID eventId, AEEventClass eventClass, FourCharCode dest);
    // mode 0 puts the file as a file reference ("fsrf"), mode 2 as its path typed
    // "furl"; the URL, when given, names the file instead of the path. An empty path
    // without a URL adds nothing; another mode, or a missing file in mode 0, is fnfErr.
    void sendAFile(const QString& path, const std::optional<QUrl>& url, AEKeyword key, int mode);
    // "xmlV" as the double value of the text, when the text is not empty.
    void version(const QString& text);
    void uuid(const QString& text);
    void addDoc(const QString& text);
    // The first error of the chain, a sending error, or the reply's "errn"; else noErr.
    int32_t send();

    // The reply's "xmlD", or nothing.
    std::optional<QString> createDocFromXML() const;
    // The paths of the reply's "fcOP" project records, in order, up to the first record
    // that cannot be read.
    QStringList createDocFromList() const;

    int32_t error() const { return err_; }
    const AppleEvent& event() const { return event_; }

private:
    void putParameter(AEKeyword key, AEDesc value);

    AppleEventTransport& transport_;
    AppleEvent event_;
    AEDesc reply_ = AEDesc::record();
    int32_t err_ = noErr;
};

} // namespace quillery
