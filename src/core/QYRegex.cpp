#include "QYRegex.h"

#include "QYLog.h"

#include <QDebug>
#include <array>
#include <memory>
#include <unicode/uregex.h>
#include <unordered_map>

namespace quillery::QYRegex {

namespace {

struct RegexCloser {
    void operator()(URegularExpression* regex) const { uregex_close(regex); }
};
using CompiledRegex = std::unique_ptr<URegularExpression, RegexCloser>;

struct PatternHash {
    size_t operator()(const QString& pattern) const { return qHash(pattern); }
};

CompiledRegex compile(const QString& pattern) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError;
    URegularExpression* regex =
        uregex_open(reinterpret_cast<const UChar*>(pattern.utf16()),
                    static_cast<int32_t>(pattern.size()), 0, &parseError, &status);
    if (U_FAILURE(status)) {
        qCWarning(lcQuillery, "The pattern %s does not compile: %s", qUtf8Printable(pattern),
                  u_errorName(status));
        return nullptr;
    }
    return CompiledRegex(regex);
}

// Patterns are mostly a few constants asked for again and again. They are recognised
// by their shared string data, which the cache's keys keep alive, before any hashing.
struct RecentPattern {
    const QChar* data = nullptr;
    qsizetype size = 0;
    URegularExpression* regex = nullptr;
};

URegularExpression* compiled(const QString& pattern) {
    thread_local std::unordered_map<QString, CompiledRegex, PatternHash> cache;
    thread_local std::array<RecentPattern, 8> recent;
    thread_local std::size_t nextRecent = 0;
    for (const RecentPattern& r : recent) {
        if (r.data != nullptr && r.data == pattern.constData() && r.size == pattern.size())
            return r.regex;
    }
    auto found = cache.find(pattern);
    if (found == cache.end())
        found = cache.emplace(pattern, compile(pattern)).first;
    if (!found->first.isEmpty()) {
        recent[nextRecent] = {found->first.constData(), found->first.size(), found->second.get()};
        nextRecent = (nextRecent + 1) % recent.size();
    }
    return found->second.get();
}

// Binds the regex to the text for one operation; ICU reads the QString's buffer in place.
URegularExpression* boundTo(const QString& text, const QString& pattern) {
    URegularExpression* regex = compiled(pattern);
    if (regex == nullptr)
        return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    uregex_setText(regex, reinterpret_cast<const UChar*>(text.utf16()),
                   static_cast<int32_t>(text.size()), &status);
    return U_SUCCESS(status) ? regex : nullptr;
}

TextRange currentMatch(URegularExpression* regex) {
    UErrorCode status = U_ZERO_ERROR;
    const int32_t start = uregex_start(regex, 0, &status);
    const int32_t end = uregex_end(regex, 0, &status);
    return U_SUCCESS(status) ? TextRange{start, end - start} : TextRange{};
}

template <typename Visit>
void forEachMatch(const QString& text, const QString& pattern, Visit visit) {
    URegularExpression* regex = boundTo(text, pattern);
    if (regex == nullptr)
        return;
    UErrorCode status = U_ZERO_ERROR;
    bool found = uregex_find(regex, 0, &status);
    while (found && U_SUCCESS(status)) {
        visit(currentMatch(regex));
        found = uregex_findNext(regex, &status);
    }
}

} // namespace

bool isMatchedByRegex(const QString& text, const QString& pattern) {
    return rangeOfRegex(text, pattern).found();
}

QString stringByReplacingOccurrencesOfRegex(const QString& text, const QString& pattern,
                                            const QString& replacementTemplate) {
    QString result = text;
    replaceOccurrencesOfRegex(result, pattern, replacementTemplate);
    return result;
}

qsizetype replaceOccurrencesOfRegex(QString& text, const QString& pattern,
                                    const QString& replacementTemplate) {
    qsizetype count = 0;
    forEachMatch(text, pattern, [&count](TextRange) { ++count; });
    if (count == 0)
        return 0;

    URegularExpression* regex = boundTo(text, pattern);
    const auto* replacement = reinterpret_cast<const UChar*>(replacementTemplate.utf16());
    const auto replacementLength = static_cast<int32_t>(replacementTemplate.size());
    UErrorCode status = U_ZERO_ERROR;
    const int32_t needed =
        uregex_replaceAll(regex, replacement, replacementLength, nullptr, 0, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status))
        return 0;

    QString result(needed, Qt::Uninitialized);
    status = U_ZERO_ERROR;
    uregex_replaceAll(regex, replacement, replacementLength,
                      reinterpret_cast<UChar*>(result.data()), needed, &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING)
        return 0;
    text = result;
    return count;
}

QStringList matchEnumeratorWithRegex(const QString& text, const QString& pattern) {
    QStringList matches;
    forEachMatch(text, pattern,
                 [&](TextRange r) { matches.append(text.sliced(r.location, r.length)); });
    return matches;
}

TextRange rangeOfRegex(const QString& text, const QString& pattern, TextRange inRange) {
    URegularExpression* regex = boundTo(text, pattern);
    if (regex == nullptr || inRange.location < 0 || inRange.end() > text.size())
        return {};
    UErrorCode status = U_ZERO_ERROR;
    uregex_setRegion64(regex, inRange.location, inRange.end(), &status);
    if (U_SUCCESS(status) && uregex_findNext(regex, &status) && U_SUCCESS(status))
        return currentMatch(regex);
    return {};
}

TextRange rangeOfRegex(const QString& text, const QString& pattern) {
    return rangeOfRegex(text, pattern, TextRange{0, text.size()});
}

QList<RegexMatch> allMatches(const QString& text, const QString& pattern) {
    QList<RegexMatch> matches;
    forEachMatch(text, pattern, [&](TextRange r) {
        matches.append(RegexMatch{r, text.sliced(r.location, r.length)});
    });
    return matches;
}

void enumerateMatches(const QString& text, const QString& pattern,
                      const std::function<void(TextRange)>& visit) {
    forEachMatch(text, pattern, visit);
}

} // namespace quillery::QYRegex
