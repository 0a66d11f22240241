#include "QYRegex.h"

#include <gtest/gtest.h>

using namespace quillery;

namespace {

const QString kTimePattern = QStringLiteral(R"(\[[0-9]{2}:[0-9]{2}:[0-9]{2}\.[0-9]{2,3}\])");

TEST(Regex, PositionsAreUtf16Offsets) {
    // The emoji is two UTF-16 units, the mark one.
    const QString text = QString::fromUtf8("😀⏎[00:00:01.05]x");
    const TextRange r = QYRegex::rangeOfRegex(text, kTimePattern);
    EXPECT_EQ(r, (TextRange{3, 13}));
    EXPECT_FALSE(QYRegex::rangeOfRegex(text, kTimePattern, TextRange{4, 13}).found());
    EXPECT_EQ(QYRegex::rangeOfRegex(text, "x", TextRange{3, 14}), (TextRange{16, 1}));
}

TEST(Regex, ReplacesWithGroupReferences) {
    EXPECT_EQ(QYRegex::stringByReplacingOccurrencesOfRegex("a1 b2", R"(([a-z])(\d))", "$2$1"),
              "1a 2b");
    QString text = "x\r\ny\r\n";
    EXPECT_EQ(QYRegex::replaceOccurrencesOfRegex(text, "\r\n", "\n"), 2);
    EXPECT_EQ(text, "x\ny\n");
    EXPECT_EQ(QYRegex::replaceOccurrencesOfRegex(text, "z", "q"), 0);
}

TEST(Regex, EnumeratesMatchesInOrder) {
    const QString text = "[00:00:01.05]Hi[00:00:02.123]";
    EXPECT_EQ(QYRegex::matchEnumeratorWithRegex(text, kTimePattern),
              (QStringList{"[00:00:01.05]", "[00:00:02.123]"}));
    const QList<RegexMatch> all = QYRegex::allMatches(text, kTimePattern);
    ASSERT_EQ(all.size(), 2);
    EXPECT_EQ(all[1].range, (TextRange{15, 14}));
    EXPECT_TRUE(QYRegex::allMatches(QString(), kTimePattern).isEmpty());
}

TEST(Regex, BadPatternMatchesNothing) {
    EXPECT_FALSE(QYRegex::isMatchedByRegex("abc", "(unclosed"));
    EXPECT_EQ(QYRegex::stringByReplacingOccurrencesOfRegex("abc", "(unclosed", "x"), "abc");
}

} // namespace
