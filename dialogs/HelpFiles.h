#pragma once

// The help pages of the authoring program: HTML files in a folder beside the program,
// listed by title in the topics window and shown in the help viewer.

#include <QObject>
#include <QPointer>
#include <QStringList>

class TForm_HelpForm;
class TForm_HelpMenu;

// An entry "file=title" split at its first "="; an entry without "=" is all title
// and has an empty file name.
void SplitHelpEntry(const QString &entry, QString &fileName, QString &title);
void SplitHelpEntries(const QStringList &entries, QStringList &titles, QStringList &fileNames);

// The full path of a page: helpFilePath + fileName when helpFilePath is not blank
// (no separator added); otherwise the program's folder, subDirectory (when not blank)
// and the file name.
QString HelpPagePath(const QString &helpFilePath, const QString &subDirectory, const QString &fileName);

// The title the help windows show in their captions: applicationTitle, or the
// program's title when that is empty.
QString HelpTitle(const QString &applicationTitle);

// The values both help windows are handed by TNvHelpFiles.
struct THelpSettings {
    QString ApplicationTitle;
    QString HelpFilePath;
    QStringList HelpFiles;
    QString SubDirectory;
};

// Holds the list of help pages and opens the topics window and the viewer. Both
// windows are made on first use and then only hidden and shown again.
class TNvHelpFiles : public QObject {
    Q_OBJECT
public:
    explicit TNvHelpFiles(QObject *owner = nullptr);
    ~TNvHelpFiles() override;

    // One entry per page: "file name=title".
    QStringList HelpFiles;
    QString SubDirectory = QStringLiteral("Help");
    // Full folder of the pages, used instead of SubDirectory when not blank.
    QString HelpFilePath;
    QString ApplicationTitle;

    // Shows the topics window modally; the chosen page opens in the viewer.
    void ShowHelpTopics();

    // nullptr until the first ShowHelpTopics.
    TForm_HelpMenu *HelpMenu() const;
    TForm_HelpForm *HelpForm() const;

private:
    QPointer<TForm_HelpMenu> FHelpMenu;
    QPointer<TForm_HelpForm> FHelpForm;
};
