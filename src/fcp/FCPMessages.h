// What the user is told when a Final Cut Pro document gives nothing to work with. The
// editor shows these in its panels and the command-line tool prints them.
#pragma once

#include <QString>

namespace quillery {

// A Final Cut Pro X document without a sequence, resources or the sequence's format.
QString fcpxFormatErrorMessage();
// A Final Cut Pro X project without a title to take as the subtitle template.
QString fcpxNoTemplateMessage();
// A Final Cut Pro 7 sequence whose last video track holds no Text generator.
QString fcp7NoTemplateMessage();

} // namespace quillery
