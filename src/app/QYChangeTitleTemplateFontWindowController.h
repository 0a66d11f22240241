// The "Change Title Template" dialog: the user picks a Final Cut Pro X project file and a
// title from the Motion title library; the delegate writes a copy of the project whose
// subtitles use that title.
#pragma once

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace quillery {

class QYMessagePresenter;
class QYSetting;

class QYChangeTitleTemplateFontDelegate {
public:
    virtual ~QYChangeTitleTemplateFontDelegate() = default;
    // Writes to outputPath the project of xmlPath with its subtitle titles switched to
    // the library title at titleTemplate (a path relative to the library folder).
    virtual void changeTitleTemplateOfProject(const QString& xmlPath, const QString& titleTemplate,
                                              const QString& outputPath) = 0;
};

class QYChangeTitleTemplateFontWindowController : public QDialog {
    Q_OBJECT

public:
    QYChangeTitleTemplateFontWindowController(QYChangeTitleTemplateFontDelegate& delegate,
                                              QYMessagePresenter& presenter, QYSetting& settings,
                                              QWidget* parent = nullptr);

    // The library's titles as paths relative to the library folder; each is listed by its
    // file name without extension.
    void setCustomTitleTemplateArray(const QStringList& titles);
    const QStringList& customTitleTemplateArray() const { return customTitleTemplateArray_; }

    void chooseTitleTemplate();
    void FCPXChangeFontSave();
    void FCPXChangeFontCancel();

    QLineEdit* xmlPathField() const { return xmlPathField_; }
    QListWidget* templateList() const { return templateList_; }
    QPushButton* saveButton() const { return saveButton_; }

private:
    void updateSaveButton();

    QYChangeTitleTemplateFontDelegate& delegate_;
    QYMessagePresenter& presenter_;
    QYSetting& settings_;
    QStringList customTitleTemplateArray_;
    QLineEdit* xmlPathField_ = nullptr;
    QListWidget* templateList_ = nullptr;
    QPushButton* saveButton_ = nullptr;
};

} // namespace quillery
