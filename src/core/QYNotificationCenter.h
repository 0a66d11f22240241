// The process-wide notification centre through which views talk to each other: a post
// carries a name, an object (a subtitle line, a text or a number of seconds) and extra
// data, and is delivered at once, on the posting thread, to every observer of that name
// in the order they registered. Names are listed in NotificationNames.h.
#pragma once

#include "SubtitleLine.h"

#include <QMetaType>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <variant>
#include <vector>

// Lets userInfo carry the shared line itself, so observers see the very same object.
Q_DECLARE_METATYPE(quillery::SubtitleLinePtr)

namespace quillery {

using NotificationObject = std::variant<std::monostate, SubtitleLinePtr, QString, double>;

struct Notification {
    QString name;
    NotificationObject object;
    QVariantMap userInfo;

    // The object as each kind: null, a null string or nothing when it holds another kind.
    SubtitleLinePtr subtitleLine() const;
    QString text() const;
    std::optional<double> seconds() const;
    // userInfo "index", or -1 when it has none.
    int index() const;
    // userInfo "subtitle", or null when it has none.
    SubtitleLinePtr subtitle() const;
};

QVariantMap indexUserInfo(int index);
QVariantMap subtitleUserInfo(const SubtitleLinePtr& line);

class QYNotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;

    static QYNotificationCenter& sharedInstance();

    QYNotificationCenter() = default;
    QYNotificationCenter(const QYNotificationCenter&) = delete;
    QYNotificationCenter& operator=(const QYNotificationCenter&) = delete;

    // An observer registered twice for a name is called twice.
    void addObserver(const void* observer, const QString& name, Handler handler);
    void removeObserver(const void* observer, const QString& name);
    void removeObserver(const void* observer);

    // Observers removed during a delivery are not called by it from then on; observers
    // added during a delivery are called from the next post on.
    void postNotification(const Notification& notification);
    void postNotificationName(const QString& name, NotificationObject object = {},
                              QVariantMap userInfo = {});

private:
    struct Registration {
        const void* observer;
        QString name;
        Handler handler;
        bool removed = false;
    };
    using RegistrationPtr = std::shared_ptr<Registration>;

    std::vector<RegistrationPtr> observersOf(const QString& name) const;
    bool isRegistered(const Registration& registration) const;
    template <typename Predicate> void removeWhere(Predicate matches);

    mutable std::mutex mutex_;
    std::vector<RegistrationPtr> registrations_;
};

} // namespace quillery
