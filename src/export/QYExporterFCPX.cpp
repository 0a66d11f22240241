// The Final Cut Pro X writers of the exporter: the project with a new storyline of
// subtitle titles, the empty project carrying only that storyline, and the swap of the
// template's Motion title. Every time is a whole number of ticks of one rational timebase
// shared by the sequence and the frame duration, so Final Cut Pro X reads the titles back
// exactly on frame boundaries.
#include "NumberText.h"
#include "QYExporter.h"
#include "QYFCPXXMLParser.h"
#include "QYLog.h"
#include "ScriptMarks.h"
#include "SystemUtility.h"

#include <QFileInfo>
#include <QStringList>
#include <cmath>
#include <cstring>
#include <limits>

namespace quillery {

namespace {

using xml::Element;

// Tick counts of a hostile document may be anything: they wrap rather than overflow.
int64_t product(int64_t a, int64_t b) {
    return static_cast<int64_t>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b));
}

int64_t sum(int64_t a, int64_t b) {
    return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b));
}

int64_t difference(int64_t a, int64_t b) {
    return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b));
}

int64_t quotient(int64_t a, int64_t b) {
    if (b == 0 || (a == std::numeric_limits<int64_t>::min() && b == -1))
        return 0;
    return a / b;
}

QString attribute(const Element& element, const char* name) {
    return xml::stringValueOfAttribute(name, element);
}

// Sets the attribute to a value read from elsewhere; a value that was missing there stays
// missing here.
void copyAttribute(Element element, const char* name, const QString& value) {
    if (!value.isNull())
        xml::setAttribute(element, name, value);
}

bool isNamed(const Element& element, const char* name) {
    return std::strcmp(element.name(), name) == 0;
}

QString withLineFeeds(const QString& text) {
    QString result = text;
    return result.replace(kLineBreakMark, u'\n');
}

// A copy of the project with the parts every generation starts from located.
struct ProjectCopy {
    xml::DocumentPtr document;
    Element sequence;
    Element mainSpine;
    QString tcStart;
};

// The template's title effect in the resources points at the Motion title file instead.
void applyMotionTitle(xml::Document& document, const Element& titleTemplate,
                      const QString& motiFile) {
    const Element root = document.document_element();
    const QString resourcePath = QYFCPXXMLParser::resourcePath(attribute(root, "version"));
    const QString ref = attribute(titleTemplate, "ref");
    for (const Element& resource :
         xml::childElements(xml::singleElementByPath(root, resourcePath))) {
        if (attribute(resource, "id") != ref)
            continue;
        xml::setAttribute(resource, "name", QFileInfo(motiFile).completeBaseName());
        xml::setAttribute(resource, "uid", QStringLiteral("~/Titles.localized/") + motiFile);
        return;
    }
}

void removeOldSubtitles(const Element& mainSpine) {
    if (QYFCPXXMLParser::hasSubtitleStoryline(mainSpine)) {
        QYExporter::delSpine(mainSpine);
        return;
    }
    if (!QYFCPXXMLParser::readsOnlyFirstAttachedTitle(
            QYFCPXXMLParser::titlesAttachedToClips(mainSpine)))
        QYExporter::delTitle(mainSpine);
}

ProjectCopy prepareProjectCopy(const xml::Document& document, const Element& titleTemplate,
                               const QString& motiFile) {
    ProjectCopy copy;
    copy.document = xml::deepCopy(document);
    const QString version = attribute(copy.document->document_element(), "version");
    if (!motiFile.isEmpty())
        applyMotionTitle(*copy.document, titleTemplate, motiFile);
    copy.sequence = xml::singleElementByPath(copy.document->document_element(),
                                             QYFCPXXMLParser::sequencePath(version));
    copy.tcStart = attribute(copy.sequence, "tcStart");
    copy.mainSpine = copy.sequence.child("spine");
    removeOldSubtitles(copy.mainSpine);
    return copy;
}

// The first element of the main storyline that is still running when the first subtitle
// starts; its own time is where the subtitle storyline is placed.
Element anchorOfFirstSubtitle(const Element& mainSpine, double firstStart, int64_t tcStart) {
    for (const Element& child : xml::childElements(mainSpine)) {
        if (isNamed(child, "transition"))
            continue;
        const int64_t end = sum(QYExporter::parseFCPXFormatTime(attribute(child, "offset")),
                                QYExporter::parseFCPXFormatTime(attribute(child, "duration")));
        if (static_cast<double>(end) > firstStart + static_cast<double>(tcStart))
            return child;
    }
    return {};
}

Element mediaReferenceOf(const Element& anchor) {
    const Element video = xml::singleElementByElementName(anchor, "video");
    return video ? video : xml::singleElementByElementName(anchor, "audio");
}

Element lastChild(const Element& parent, const char* name) {
    Element last;
    for (const Element& child : parent.children(name))
        last = child;
    return last;
}

// An empty storyline where each kind of anchor holds its connected items; null when the
// anchor has no such place.
Element insertStoryline(Element anchor, const Element& mediaReference) {
    if (isNamed(anchor, "clip")) {
        if (mediaReference)
            return anchor.insert_child_before("spine", mediaReference);
        const Element clip = anchor.child("clip");
        return clip ? anchor.insert_child_before("spine", clip) : Element();
    }
    if (isNamed(anchor, "title")) {
        const Element definition = lastChild(anchor, "text-style-def");
        return definition ? anchor.insert_child_after("spine", definition) : Element();
    }
    if (isNamed(anchor, "ref-clip") || isNamed(anchor, "mc-clip") || isNamed(anchor, "video")) {
        if (const Element clip = lastChild(anchor, "clip"))
            return anchor.insert_child_after("spine", clip);
        if (const Element filter = anchor.child("filter-video"))
            return anchor.insert_child_before("spine", filter);
        return anchor.append_child("spine");
    }
    return anchor.prepend_child("spine");
}

void fillTextStyle(const std::vector<Element>& styles, size_t index, const QString& ref,
                   const QString& text) {
    if (index >= styles.size())
        return;
    copyAttribute(styles[index], "ref", ref);
    xml::setStringValue(styles[index], text);
}

// Gives the definition at index a fresh identifier and returns it; a null text when the
// title has no definition there, so its styles keep referring to what they did.
QString renameDefinition(const std::vector<Element>& definitions, size_t index, const QString& id) {
    if (index >= definitions.size())
        return QString();
    xml::setAttribute(definitions[index], "id", id);
    return id;
}

// A template with two texts holds the two rows of a subtitle, one in each.
void fillTwoTextTitle(const Element& title, const QString& text, int number) {
    const qsizetype lineBreak = text.indexOf(u'\n');
    const QString first = lineBreak < 0 ? text : text.left(lineBreak);
    const QString second = lineBreak < 0 ? QString() : text.mid(lineBreak + 1);
    const std::vector<Element> definitions = xml::childElements(title, "text-style-def");
    const std::vector<Element> styles =
        xml::allElementsByPath(title, QStringLiteral("text/text-style"));
    const QString firstRef =
        renameDefinition(definitions, 0, QStringLiteral("quillery_ts%1_1").arg(number));
    const QString secondRef =
        definitions.size() == 1
            ? firstRef
            : renameDefinition(definitions, 1, QStringLiteral("quillery_ts%1_2").arg(number));
    fillTextStyle(styles, 0, firstRef, first);
    fillTextStyle(styles, 1, secondRef, second);
}

// A template with one text: two style definitions split the rows between them, the first
// part keeping its line break; with one definition the whole text takes it.
void fillTemplateTitle(const Element& title, const QString& text, int number) {
    const std::vector<Element> definitions = xml::childElements(title, "text-style-def");
    const std::vector<Element> styles =
        xml::allElementsByPath(title, QStringLiteral("text/text-style"));
    const qsizetype lineBreak = text.indexOf(u'\n');
    const bool split = definitions.size() >= 2 && lineBreak >= 0;
    const QString first = split ? text.left(lineBreak + 1) : text;
    const QString second = split ? text.mid(lineBreak + 1) : QString();
    fillTextStyle(styles, 0,
                  renameDefinition(definitions, 0, QStringLiteral("quillery_ts%1").arg(number)),
                  first);
    if (definitions.size() >= 2)
        fillTextStyle(
            styles, 1,
            renameDefinition(definitions, 1, QStringLiteral("quillery_ts%1_2").arg(number)),
            second);
}

} // namespace

// Every time of the storyline is n ticks of 1/(k x D) second, D the frame duration's
// denominator: the sequence's own timebase when it is a multiple of D, else the least
// common multiple of the two.
struct QYExporter::StorylineTimebase {
    int64_t k = 1;
    int64_t tb = 1;
    int64_t denominator = 1;

    // A rational read from the document, brought to the common timebase.
    int64_t rescaled(const std::pair<QString, QString>& rational) const {
        const int64_t a = longLongValue(rational.first);
        const int64_t b = longLongValue(rational.second);
        return b == 0 || b == tb ? a : product(a, quotient(tb, b));
    }
    QString text(int64_t ticks) const {
        return QString::number(ticks) + u'/' + QString::number(denominator) + u's';
    }
};

int64_t QYExporter::parseFCPXFormatTime(const QString& rationalTime) {
    if (rationalTime.isNull())
        return 0;
    const QStringList parts = rationalTime.left(rationalTime.size() - 1).split(u'/');
    if (parts.size() == 1)
        return toInt32(floatValue(parts[0]));
    return quotient(longLongValue(parts[0]), longLongValue(parts[1]));
}

std::pair<QString, QString> QYExporter::splitFCPXFormatTime(const QString& rationalTime) {
    if (rationalTime.isNull())
        return {QStringLiteral("0"), QStringLiteral("0")};
    const QStringList parts = rationalTime.left(rationalTime.size() - 1).split(u'/');
    if (parts.size() == 1)
        return {parts[0], QStringLiteral("1")};
    return {parts[0], parts[1]};
}

int64_t QYExporter::getLeastCommonMultiple(int64_t x, int64_t y) {
    int64_t a = x;
    int64_t b = y;
    while (b != 0) {
        const int64_t remainder = a % b;
        a = b;
        b = remainder;
    }
    QY_DBG("Greatest common divisor of %lld and %lld = %lld", static_cast<long long>(x),
           static_cast<long long>(y), static_cast<long long>(a));
    const int64_t multiple = quotient(product(x, y), a);
    QY_DBG("Least common multiple of %lld and %lld = %lld", static_cast<long long>(x),
           static_cast<long long>(y), static_cast<long long>(multiple));
    return multiple;
}

void QYExporter::delSpine(Element mainSpine) {
    for (const Element& child : xml::childElements(mainSpine)) {
        for (const Element& spine : xml::childElements(child, "spine")) {
            if (QYFCPXXMLParser::isSubtitleStoryline(spine))
                Element(child).remove_child(spine);
        }
    }
}

void QYExporter::delTitle(Element mainSpine) {
    for (const Element& child : xml::childElements(mainSpine)) {
        for (const Element& title : xml::childElements(child, "title"))
            Element(child).remove_child(title);
    }
}

QString QYExporter::genFCPXXml(const xml::Document& document, const Element& titleTemplate,
                               const QString& seqFormat, const QString& motiFile) const {
    const ProjectCopy copy = prepareProjectCopy(document, titleTemplate, motiFile);
    genTitle(copy.mainSpine, titleTemplate, copy.tcStart, seqFormat);
    renameProject(*copy.document);
    return xml::prettyString(*copy.document);
}

QString QYExporter::genEmptyFCPXXml(const xml::Document& document, const Element& titleTemplate,
                                    const QString& seqFormat, const QString& motiFile) const {
    const ProjectCopy copy = prepareProjectCopy(document, titleTemplate, motiFile);
    Element spine = copy.mainSpine;
    QY_DBG("The sElement is : %s", qUtf8Printable(xml::elementString(spine)));
    while (spine.first_child())
        spine.remove_child(spine.first_child());
    QY_DBG("The sElement is : %s", qUtf8Printable(xml::elementString(spine)));

    // The sequence grows to the end of the last subtitle, in thirtieths of a second.
    const QList<SubtitleLinePtr> lines = generateSubtitleLines();
    const int64_t sequenceSeconds = parseFCPXFormatTime(attribute(copy.sequence, "duration"));
    if (!lines.isEmpty() && lines.last()->endTime() > static_cast<double>(sequenceSeconds)) {
        const double thirtieths = std::round(lines.last()->endTime() * 30);
        xml::setAttribute(copy.sequence, "duration",
                          QString::number(thirtieths, 'f', 0) + QStringLiteral("/30s"));
    }
    Element gap = spine.append_child("gap");
    xml::setAttribute(gap, "offset", QStringLiteral("0s"));
    xml::setAttribute(gap, "name", QStringLiteral("gap"));
    copyAttribute(gap, "duration", attribute(copy.sequence, "duration"));
    xml::setAttribute(gap, "start", QStringLiteral("0"));

    genTitle(spine, titleTemplate, QStringLiteral("0s"), seqFormat);
    renameProject(*copy.document);
    return xml::prettyString(*copy.document);
}

void QYExporter::genTitle(Element mainSpine, const Element& titleTemplate, const QString& tcStart,
                          const QString& seqFormat) const {
    const QList<SubtitleLinePtr> lines = generateSubtitleLines();
    const int64_t d = textView_.fcpxFrameDurationDenominator();
    if (lines.isEmpty() || d <= 0)
        return;

    StorylineTimebase timebase;
    // A sequence without a duration counts in whole seconds.
    int64_t sequenceDenominator =
        longLongValue(splitFCPXFormatTime(attribute(mainSpine.parent(), "duration")).second);
    if (sequenceDenominator <= 0)
        sequenceDenominator = 1;
    timebase.k = sequenceDenominator / d;
    if (timebase.k >= 1) {
        timebase.tb = sequenceDenominator;
    } else {
        timebase.tb = getLeastCommonMultiple(sequenceDenominator, d);
        timebase.k = timebase.tb / d;
    }
    timebase.denominator = product(timebase.k, d);

    const Element anchor =
        anchorOfFirstSubtitle(mainSpine, lines.first()->startTime(), parseFCPXFormatTime(tcStart));
    if (!anchor)
        return;
    const Element media = mediaReferenceOf(anchor);
    const Element storyline = insertStoryline(anchor, media);
    if (!storyline)
        return;

    // The storyline sits in the anchor's own time, where the first subtitle starts.
    const auto rescaledAttribute = [&timebase](const Element& element, const char* name) {
        return timebase.rescaled(splitFCPXFormatTime(attribute(element, name)));
    };
    int64_t offset =
        difference(rescaledAttribute(anchor, "start"), rescaledAttribute(anchor, "offset"));
    if (media)
        offset = sum(difference(offset, rescaledAttribute(media, "start")),
                     rescaledAttribute(media, "offset"));
    offset = sum(sum(offset, timebase.rescaled(splitFCPXFormatTime(tcStart))),
                 product(lines.first()->startNumerator, timebase.k));
    copyAttribute(storyline, "lane", attribute(titleTemplate, "lane"));
    xml::setAttribute(storyline, "offset", timebase.text(offset));

    appendTitles(storyline, titleTemplate, lines, timebase, seqFormat);
}

void QYExporter::appendTitles(Element storyline, const Element& titleTemplate,
                              const QList<SubtitleLinePtr>& lines,
                              const StorylineTimebase& timebase, const QString& seqFormat) const {
    const QString ref = attribute(titleTemplate, "ref");
    const QString start = attribute(titleTemplate, "start");
    const bool copiesTemplate =
        xml::singleElementByPath(titleTemplate, QStringLiteral("text/text-style"));
    int64_t position = 0;
    int64_t previousEnd = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const SubtitleLine& line = *lines[i];
        const int64_t length = difference(product(line.endNumerator, timebase.k),
                                          product(line.startNumerator, timebase.k));
        // A subtitle ending before it starts is left out; its number is not reused.
        if (length < 0)
            continue;
        if (i > 0) {
            const int64_t gapLength = product(line.startNumerator - previousEnd, timebase.k);
            // Subtitles that touch or are one tick apart need no gap between them.
            if (gapLength > 1) {
                Element gap = storyline.append_child("gap");
                xml::setAttribute(gap, "offset", timebase.text(position));
                xml::setAttribute(gap, "name", QStringLiteral("Gap"));
                xml::setAttribute(gap, "duration", timebase.text(gapLength));
                copyAttribute(gap, "start", start);
                position = sum(position, gapLength);
            }
        }
        Element title =
            copiesTemplate ? storyline.append_copy(titleTemplate) : storyline.append_child("title");
        if (i == 0) {
            xml::setAttribute(storyline, "format", seqFormat);
            // The first title sits at the storyline's own start.
            title.remove_attribute("offset");
        } else {
            xml::setAttribute(title, "offset", timebase.text(position));
        }
        position = sum(position, length);

        const QString text = withLineFeeds(line.text());
        copyAttribute(title, "ref", ref);
        xml::setAttribute(title, "name", text);
        xml::setAttribute(title, "duration", timebase.text(length));
        copyAttribute(title, "start", start);

        const int number = static_cast<int>(i) + 1;
        if (xml::childElements(title, "text").size() == 2) {
            title.remove_attribute("lane");
            fillTwoTextTitle(title, text, number);
        } else if (copiesTemplate) {
            title.remove_attribute("lane");
            fillTemplateTitle(title, text, number);
        } else {
            xml::setStringValue(title.append_child("text"), text);
        }
        previousEnd = line.endNumerator;
    }
}

QString QYExporter::renamedProjectName(const QString& name) const {
    const QString stamp =
        QStringLiteral(" from %1 at ").arg(SystemUtility::sharedInstance().getBundleName());
    const qsizetype earlier = name.indexOf(stamp);
    return (earlier < 0 ? name : name.left(earlier)) + stamp +
           clock_().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
}

// Documents below version 1.4 hold one project at the root: its name says it came from
// here and when. Later versions keep the library's project name.
void QYExporter::renameProject(xml::Document& document) const {
    Element project = document.document_element().child("project");
    if (project)
        xml::setAttribute(project, "name", renamedProjectName(attribute(project, "name")));
}

QString QYExporter::changeFCPXFont(const xml::Document& document, const Element& titleTemplate,
                                   const QString&, const QString& motiFile) {
    const xml::DocumentPtr copy = xml::deepCopy(document);
    applyMotionTitle(*copy, titleTemplate, motiFile);
    return xml::prettyString(*copy);
}

} // namespace quillery
