// The application's resources: the movie extensions, the default title template, and
// the help documents, which are rendered from the bundled help text into the caches
// folder the first time they are asked for.
#pragma once

#include <QString>
#include <QStringList>

namespace quillery {

// The lower-case extensions of the movie files the application opens.
QStringList movieFileExtensions();
// The Final Cut Pro 7 document whose Text generator is the default title template.
QString defaultTemplateXML();
// "help.pdf" and "handhelp.jpg", written when missing; empty when they cannot be written.
QString helpPdfPath();
QString handHelpImagePath();

} // namespace quillery
