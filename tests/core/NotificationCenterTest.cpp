#include "QYNotificationCenter.h"

#include <gtest/gtest.h>

using namespace quillery;

namespace {

const QString kName = QStringLiteral("kTestNotification");
const QString kOtherName = QStringLiteral("kOtherTestNotification");

// Removal takes effect at once, by one name or every name; an observer added waits for the
// next post; a post from a handler is delivered before the outer delivery goes on.
TEST(NotificationCenter, DeliversInRegistrationOrderWhileHandlersRemoveAddAndPost) {
    QYNotificationCenter center;
    int first = 0, second = 0, third = 0; // observers are told apart by address only
    QStringList calls;
    const auto record = [&calls](const char* call) {
        return [&calls, call](const Notification&) {
            calls << call;
        };
    };
    center.addObserver(&first, kName, [&](const Notification&) {
        calls << "first";
        center.removeObserver(&first);
        center.removeObserver(&third, kName);
        center.addObserver(&first, kName, record("late"));
        center.postNotificationName(kOtherName);
    });
    center.addObserver(&first, kOtherName, record("first other"));
    center.addObserver(&second, kName, record("second"));
    center.addObserver(&third, kOtherName, record("third other"));
    center.addObserver(&third, kName, record("third"));
    center.addObserver(&second, kOtherName, record("second other"));

    center.postNotificationName(kName);
    EXPECT_EQ(calls, (QStringList{"first", "third other", "second other", "second"}));
    calls.clear();
    center.postNotificationName(kName);
    EXPECT_EQ(calls, (QStringList{"second", "late"}));
}

} // namespace
