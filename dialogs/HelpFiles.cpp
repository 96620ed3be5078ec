#include "dialogs/HelpFiles.h"

#include "dialogs/HelpForm.h"
#include "dialogs/HelpMenu.h"
#include "toolkit/Application.h"
#include "toolkit/Component.h"

#include <QGuiApplication>

void SplitHelpEntry(const QString &entry, QString &fileName, QString &title)
{
    const qsizetype eq = entry.indexOf(QLatin1Char('='));
    if (eq < 0) {
        fileName.clear();
        title = entry;
        return;
    }
    fileName = entry.left(eq);
    title = entry.mid(eq + 1);
}

void SplitHelpEntries(const QStringList &entries, QStringList &titles, QStringList &fileNames)
{
    titles.clear();
    fileNames.clear();
    for (const QString &entry : entries) {
        QString fileName, title;
        SplitHelpEntry(entry, fileName, title);
        titles << title;
        fileNames << fileName;
    }
}

QString HelpPagePath(const QString &helpFilePath, const QString &subDirectory, const QString &fileName)
{
    if (!helpFilePath.trimmed().isEmpty())
        return helpFilePath + fileName;
    const QString folder = TApplication::ProgramFolder();
    if (!subDirectory.trimmed().isEmpty())
        return folder + subDirectory + QLatin1Char('/') + fileName;
    return folder + fileName;
}

QString HelpTitle(const QString &applicationTitle)
{
    return applicationTitle.isEmpty() ? QGuiApplication::applicationDisplayName() : applicationTitle;
}

TNvHelpFiles::TNvHelpFiles(QObject *owner)
{
    if (owner)
        InsertComponent(owner, this);
}

TForm_HelpMenu *TNvHelpFiles::HelpMenu() const
{
    return FHelpMenu;
}

TForm_HelpForm *TNvHelpFiles::HelpForm() const
{
    return FHelpForm;
}

TNvHelpFiles::~TNvHelpFiles()
{
    delete FHelpMenu;
    delete FHelpForm;
}

void TNvHelpFiles::ShowHelpTopics()
{
    if (!FHelpForm)
        FHelpForm = new TForm_HelpForm;
    if (!FHelpMenu)
        FHelpMenu = new TForm_HelpMenu;
    FHelpForm->HelpMenu = FHelpMenu;
    FHelpMenu->HelpForm = FHelpForm;
    for (auto *window :
         {static_cast<THelpSettings *>(FHelpMenu.data()), static_cast<THelpSettings *>(FHelpForm.data())}) {
        window->ApplicationTitle = ApplicationTitle;
        window->HelpFilePath = HelpFilePath;
        window->HelpFiles = HelpFiles;
        window->SubDirectory = SubDirectory;
    }
    FHelpMenu->Execute();
}
