#include "QYStringUtility.h"

#include <gtest/gtest.h>

using quillery::QYStringUtility;

namespace {

TEST(StringUtility, EveryLineEndBecomesOneLineFeed) {
    const auto& u = QYStringUtility::sharedInstance();
    EXPECT_EQ(u.trimTwoNewLineCharacterIntoOne("a\r\nb\rc\nd"), "a\nb\nc\nd");
    EXPECT_EQ(u.trimTwoNewLineCharacterIntoOne(QString("a") + QChar(0x2028) + "b" + QChar(0x2029)),
              "a\nb\n");
    // CR CR LF: the pair collapses, the lone CR before it still ends a line.
    EXPECT_EQ(u.trimTwoNewLineCharacterIntoOne("a\r\r\nb"), "a\n\nb");
}

TEST(StringUtility, ControlCharactersDisappear) {
    const auto& u = QYStringUtility::sharedInstance();
    EXPECT_EQ(u.scanString(QString("a\tb") + QChar(0) + QChar(0x1b) + "c" + QChar(0x7f)),
              QString("abc") + QChar(0x7f));
    EXPECT_EQ(u.scanString(QString()), QString());
}

} // namespace
