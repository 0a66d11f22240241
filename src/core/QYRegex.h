// The regular expressions of the system: ICU syntax, run by ICU directly over QString's
// UTF-16 data, so every position is a UTF-16 offset into the QString. Compiled patterns
// are cached by pattern text (one cache per thread, since a compiled ICU pattern holds
// its match state). A pattern that does not compile is logged and matches nothing.
#pragma once

#include "TextRange.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace quillery {

struct RegexMatch {
    TextRange range;
    QString text;
};

namespace QYRegex {

bool isMatchedByRegex(const QString& text, const QString& pattern);
// Every match replaced by the template, which may name groups as $1, $2, ...
QString stringByReplacingOccurrencesOfRegex(const QString& text, const QString& pattern,
                                            const QString& replacementTemplate);
// In place; returns the number of replacements.
qsizetype replaceOccurrencesOfRegex(QString& text, const QString& pattern,
                                    const QString& replacementTemplate);
// The matched substrings, left to right.
QStringList matchEnumeratorWithRegex(const QString& text, const QString& pattern);
// The first match lying wholly inside the range; NotFound when there is none.
TextRange rangeOfRegex(const QString& text, const QString& pattern, TextRange inRange);
TextRange rangeOfRegex(const QString& text, const QString& pattern);
QList<RegexMatch> allMatches(const QString& text, const QString& pattern);
// Each match's range, left to right, without gathering them: for texts with very many.
void enumerateMatches(const QString& text, const QString& pattern,
                      const std::function<void(TextRange)>& visit);

} // namespace QYRegex
} // namespace quillery
