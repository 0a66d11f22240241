#include "FCPMessages.h"

#include "Localization.h"

namespace quillery {

QString fcpxFormatErrorMessage() {
    return localized("format error");
}

QString fcpxNoTemplateMessage() {
    return localized("Please make a Title on the timeline in Final Cut Pro X so that Quillery can "
                     "use it as a template. You should change the font, position, color, effects "
                     "in Motion and take it into Final Cut Pro X.");
}

QString fcp7NoTemplateMessage() {
    return localized("Cannot load Final Cut Pro\"Sample Text\"and its font settings. Please make a "
                     "new video track and place the \"Sample Text\" on the new track.");
}

} // namespace quillery
