#include "HelpResources.h"

#include "Localization.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QStandardPaths>
#include <QTextDocument>
#include <QXmlStreamReader>

namespace quillery {

namespace {

QString resourceText(const QString& name) {
    QFile file(QStringLiteral(":/") + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Where rendered help goes; created when missing.
QString cachedFile(const QString& name) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!QDir().mkpath(folder))
        return QString();
    return folder + u'/' + name;
}

bool renderHelpPdf(const QString& path) {
    QPdfWriter writer(path);
    writer.setTitle(localized("Quillery Help"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    QTextDocument document;
    document.setHtml(resourceText(QStringLiteral("help.html")));
    document.setPageSize(writer.pageLayout().paintRectPixels(writer.resolution()).size());
    document.print(&writer);
    return QFileInfo(path).size() > 0;
}

// A card showing the keys of hand timing, for users who time by keyboard.
bool renderHandHelpImage(const QString& path) {
    QImage image(960, 540, QImage::Format_RGB32);
    image.fill(QColor(34, 38, 46));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::white);
    QFont title = painter.font();
    title.setPixelSize(34);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(40, 30, 880, 50), localized("Timing subtitles by hand"));
    const QList<QPair<QString, QString>> keys = {
        {QStringLiteral("Tab"), localized("Play or pause the movie")},
        {localized("Space"), localized("Mode 1: In time, then Out time")},
        {QStringLiteral("2"), localized("Mode 2: hold while the subtitle shows")},
        {QStringLiteral("↩"), localized("Mode 3: end this subtitle and start the next")},
        {QStringLiteral("← →"), localized("Move a selected time string by frames")},
    };
    QFont body = painter.font();
    body.setPixelSize(24);
    body.setBold(false);
    painter.setFont(body);
    int y = 110;
    for (const auto& [key, meaning] : keys) {
        painter.setBrush(QColor(4, 109, 255));
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(QRect(40, y, 140, 56), 10, 10);
        painter.setPen(Qt::white);
        painter.drawText(QRect(40, y, 140, 56), Qt::AlignCenter, key);
        painter.drawText(QRect(210, y, 720, 56), Qt::AlignVCenter, meaning);
        y += 80;
    }
    painter.end();
    return image.save(path, "JPG", 90);
}

QString renderedOnce(const QString& name, bool (*render)(const QString&)) {
    const QString path = cachedFile(name);
    if (path.isEmpty())
        return QString();
    if (QFileInfo(path).size() > 0 || render(path))
        return path;
    return QString();
}

} // namespace

QStringList movieFileExtensions() {
    QStringList extensions;
    QXmlStreamReader reader(resourceText(QStringLiteral("MovieType.plist")));
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == u"string")
            extensions << reader.readElementText().toLower();
    }
    return extensions;
}

QString defaultTemplateXML() {
    return resourceText(QStringLiteral("Default.xml"));
}

QString helpPdfPath() {
    return renderedOnce(QStringLiteral("help.pdf"), renderHelpPdf);
}

QString handHelpImagePath() {
    return renderedOnce(QStringLiteral("handhelp.jpg"), renderHandHelpImage);
}

} // namespace quillery
