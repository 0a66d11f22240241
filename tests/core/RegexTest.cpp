#include "QYRegex.h"

#include <gtest/gtest.h>

using namespace quillery;

namespace {

TEST(Regex, PositionsAreUtf16Offsets) {
    const QString pattern = QStringLiteral(R"(\[[0-9]{2}:[0-9]{2}:[0-9]{2}\.[0-9]{2,3}\])");
    // The emoji is two UTF-16 units, the mark one.
    const QString text = QString::fromUtf8("😀⏎[00:00:01.05]x");
    EXPECT_EQ(QYRegex::rangeOfRegex(text, pattern), (TextRange{3, 13}));
    EXPECT_FALSE(QYRegex::rangeOfRegex(text, pattern, TextRange{4, 13}).found());
    EXPECT_EQ(QYRegex::rangeOfRegex(text, "x", TextRange{3, 14}), (TextRange{16, 1}));
}

} // namespace
