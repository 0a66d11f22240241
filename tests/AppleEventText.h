// A readable form of an Apple event descriptor, so a test compares a whole parameter list
// with one line: reco{fcIU:utf8(QString 9F-A),xmlV:cgfl(double 5),}.
#pragma once

#include "AppleEvent.h"

#include <string>

namespace quillery::test {

inline std::string describe(const AEDesc& desc) {
    std::string text = fourCharCodeText(desc.descriptorType).toStdString();
    if (desc.key != 0)
        text = fourCharCodeText(desc.key).toStdString() + ":" + text;
    if (desc.descriptorType != typeAEList && desc.descriptorType != typeAERecord)
        return text + "(" + desc.value.typeName() + " " + desc.value.toString().toStdString() + ")";
    text += "{";
    for (const AEDesc& item : desc.items)
        text += describe(item) + ",";
    return text + "}";
}

} // namespace quillery::test
