#include "FolderUtility.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillery {
namespace {

TEST(FolderUtility, NamesAFileInTheFolderOfAnother) {
    EXPECT_EQ(FolderUtility::sharedInstance().getFilePathWithName(
                  QStringLiteral("clip.mov"), QStringLiteral("/work/films/project.qyb")),
              QStringLiteral("/work/films/clip.mov"));
}

TEST(FolderUtility, CreatesMissingParents) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("a/b/c"));
    EXPECT_TRUE(FolderUtility::sharedInstance().createFolder(folder));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(FolderUtility::sharedInstance().createFolder(folder));
}

TEST(FolderUtility, FailsUnderARegularFile) {
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("file"));
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_FALSE(FolderUtility::sharedInstance().createFolder(blocker + QStringLiteral("/sub")));
}

} // namespace
} // namespace quillery
