// The plain text of Word (.doc) and RTF documents, read by the catdoc tool from Debian's
// catdoc package. Only the text is used; styling is dropped.
#pragma once

#include <QString>
#include <optional>

namespace quillery {

struct RichTextResult {
    std::optional<QString> text;
    QString error; // why there is no text, for the user
};

// Field codes such as HYPERLINK "..." that the reader leaves in a Word document's text
// are removed.
RichTextResult readRichTextDocument(const QString& path);

} // namespace quillery
