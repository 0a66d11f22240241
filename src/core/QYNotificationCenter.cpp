#include "QYNotificationCenter.h"

#include "NotificationNames.h"

#include <algorithm>

namespace quillery {

SubtitleLinePtr Notification::subtitleLine() const {
    const auto* line = std::get_if<SubtitleLinePtr>(&object);
    return line != nullptr ? *line : nullptr;
}

QString Notification::text() const {
    const auto* text = std::get_if<QString>(&object);
    return text != nullptr ? *text : QString();
}

std::optional<double> Notification::seconds() const {
    const auto* seconds = std::get_if<double>(&object);
    return seconds != nullptr ? std::optional<double>(*seconds) : std::nullopt;
}

int Notification::index() const {
    bool ok = false;
    const int index = userInfo.value(kNotificationIndexKey).toInt(&ok);
    return ok ? index : -1;
}

SubtitleLinePtr Notification::subtitle() const {
    return userInfo.value(kNotificationSubtitleKey).value<SubtitleLinePtr>();
}

QVariantMap indexUserInfo(int index) {
    return {{kNotificationIndexKey, index}};
}

QVariantMap subtitleUserInfo(const SubtitleLinePtr& line) {
    return {{kNotificationSubtitleKey, QVariant::fromValue(line)}};
}

QYNotificationCenter& QYNotificationCenter::sharedInstance() {
    static QYNotificationCenter center;
    return center;
}

void QYNotificationCenter::addObserver(const void* observer, const QString& name, Handler handler) {
    auto registration =
        std::make_shared<Registration>(Registration{observer, name, std::move(handler)});
    const std::lock_guard lock(mutex_);
    registrations_.push_back(std::move(registration));
}

void QYNotificationCenter::removeObserver(const void* observer, const QString& name) {
    removeWhere([&](const Registration& registration) {
        return registration.observer == observer && registration.name == name;
    });
}

void QYNotificationCenter::removeObserver(const void* observer) {
    removeWhere(
        [&](const Registration& registration) { return registration.observer == observer; });
}

void QYNotificationCenter::postNotification(const Notification& notification) {
    // Handlers run without the lock held, so they may post, add and remove freely.
    for (const RegistrationPtr& registration : observersOf(notification.name)) {
        if (isRegistered(*registration))
            registration->handler(notification);
    }
}

void QYNotificationCenter::postNotificationName(const QString& name, NotificationObject object,
                                                QVariantMap userInfo) {
    postNotification(Notification{name, std::move(object), std::move(userInfo)});
}

std::vector<QYNotificationCenter::RegistrationPtr>
QYNotificationCenter::observersOf(const QString& name) const {
    const std::lock_guard lock(mutex_);
    std::vector<RegistrationPtr> observers;
    for (const RegistrationPtr& registration : registrations_) {
        if (registration->name == name)
            observers.push_back(registration);
    }
    return observers;
}

bool QYNotificationCenter::isRegistered(const Registration& registration) const {
    const std::lock_guard lock(mutex_);
    return !registration.removed;
}

template <typename Predicate> void QYNotificationCenter::removeWhere(Predicate matches) {
    const std::lock_guard lock(mutex_);
    std::erase_if(registrations_, [&](const RegistrationPtr& registration) {
        if (!matches(*registration))
            return false;
        // A delivery in progress may still hold it; the flag keeps it from being called.
        registration->removed = true;
        return true;
    });
}

} // namespace quillery
