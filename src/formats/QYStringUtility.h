// The newline normalisation applied to every string that enters the script editor:
// all line ends become LF and other control characters (tab included) disappear.
#pragma once

#include <QString>

namespace quillery {

class QYStringUtility {
public:
    static QYStringUtility& sharedInstance();

    // U+2028, U+2029 and CR become LF; then only LF and units of 32 or more remain.
    // Both work in place on a text handed over with std::move.
    QString scanString(QString text) const;
    // CR LF pairs become LF, then scanString.
    QString trimTwoNewLineCharacterIntoOne(QString text) const;
};

} // namespace quillery
