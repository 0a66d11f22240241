#include "NotificationNames.h"
#include "QYNotificationCenter.h"

#include <gtest/gtest.h>

using namespace quillery;

namespace {

// Observers are told apart by address only; these give each one a distinct address.
struct Observers {
    int first = 0;
    int second = 0;
    int third = 0;
};

const QString kName = QStringLiteral("kTestNotification");
const QString kOtherName = QStringLiteral("kOtherTestNotification");

TEST(NotificationCenter, CallsObserversOfTheNameInRegistrationOrder) {
    QYNotificationCenter center;
    Observers o;
    QStringList calls;
    center.addObserver(&o.second, kName, [&](const Notification&) { calls << "second"; });
    center.addObserver(&o.first, kName, [&](const Notification&) { calls << "first"; });
    center.addObserver(&o.third, kOtherName, [&](const Notification&) { calls << "other"; });
    center.addObserver(&o.third, kName, [&](const Notification&) { calls << "third"; });

    center.postNotificationName(kName);
    EXPECT_EQ(calls, (QStringList{"second", "first", "third"}));
}

// Removal takes effect at once, an observer added waits for the next post, and a post from
// a handler is delivered before the outer delivery goes on.
TEST(NotificationCenter, HandlersMayRemoveAddAndPost) {
    QYNotificationCenter center;
    Observers o;
    QStringList calls;
    center.addObserver(&o.first, kName, [&](const Notification&) {
        calls << "first";
        center.removeObserver(&o.first);
        center.removeObserver(&o.third, kName);
        center.addObserver(&o.first, kName, [&](const Notification&) { calls << "late"; });
        center.postNotificationName(kOtherName);
    });
    center.addObserver(&o.second, kName, [&](const Notification&) { calls << "second"; });
    center.addObserver(&o.third, kName, [&](const Notification&) { calls << "third"; });
    center.addObserver(&o.second, kOtherName, [&](const Notification&) { calls << "inner"; });

    center.postNotificationName(kName);
    EXPECT_EQ(calls, (QStringList{"first", "inner", "second"}));
    calls.clear();
    center.postNotificationName(kName);
    EXPECT_EQ(calls, (QStringList{"second", "late"}));
}

TEST(NotificationCenter, RemovesByNameOrEveryName) {
    QYNotificationCenter center;
    Observers o;
    int calls = 0;
    const auto count = [&](const Notification&) {
        ++calls;
    };
    center.addObserver(&o.first, kName, count);
    center.addObserver(&o.first, kOtherName, count);
    center.addObserver(&o.second, kName, count);

    center.removeObserver(&o.first, kName);
    center.postNotificationName(kName);
    center.postNotificationName(kOtherName);
    EXPECT_EQ(calls, 2);

    center.removeObserver(&o.first);
    center.removeObserver(&o.second);
    center.postNotificationName(kName);
    center.postNotificationName(kOtherName);
    EXPECT_EQ(calls, 2);
}

TEST(NotificationCenter, CarriesTheSameLineItsIndexTextOrSeconds) {
    QYNotificationCenter center;
    Observers o;
    const SubtitleLinePtr line = SubtitleLine::create();
    std::vector<Notification> received;
    const auto keep = [&](const Notification& notification) {
        received.push_back(notification);
    };
    for (const QString& name :
         {kAddSubtitleLineToWaveFormNotification, kUpdateSubtitleTextViewTextNotification,
          QYWaveFormTextViewDidChangeStartTimeCodeNotification})
        center.addObserver(&o.first, name, keep);

    center.postNotificationName(kAddSubtitleLineToWaveFormNotification, line, indexUserInfo(3));
    center.postNotificationName(kUpdateSubtitleTextViewTextNotification,
                                QStringLiteral("Hello\nthere"), subtitleUserInfo(line));
    center.postNotificationName(QYWaveFormTextViewDidChangeStartTimeCodeNotification, 12.5);
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0].name, "kAddSubtitleLineToWaveFormNotification");
    EXPECT_EQ(received[0].subtitleLine(), line);
    EXPECT_EQ(received[0].index(), 3);
    EXPECT_EQ(received[1].text(), "Hello\nthere");
    EXPECT_EQ(received[1].subtitle(), line);
    EXPECT_EQ(received[1].index(), -1);
    EXPECT_EQ(received[2].seconds(), 12.5);
    EXPECT_FALSE(received[0].seconds().has_value());
}

} // namespace
