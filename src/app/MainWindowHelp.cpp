// View → Source items, Help → Contents and the About box.
#include "app/AboutDialog.h"
#include "app/HelpWindow.h"
#include "app/MainWindow.h"
#include "app/FocusBack.h"
#include "app/model/HelpFile.h"
#include "app/model/ProgramPaths.h"
#include "app/model/SourceMenu.h"
#include "document/HtmlStructure.h"
#include "app/model/Options.h"

#include <QAction>
#include <QMenu>
#include <QProcess>
#include <QUrl>

void TfrmMain::CreateSourceMenuItems()
{
    mnuSource->clear();
    std::vector<std::string> paths;
    for (int tab = 0; tab < Document_->FileCount(); ++tab) paths.push_back(Document_->FilePath(tab));
    for (const pictor::TSourceMenuItem& item : pictor::SourceMenuItems(paths)) {
        QAction* action = mnuSource->addAction(QString::fromStdString(item.Caption));
        action->setStatusTip(pictor::kSourceMenuHint);
        const int tag = item.Tag;
        connect(action, &QAction::triggered, this, [this, tag] { Commands_->Run([&] { alOpneSourceExecute(tag); }); });
    }
}

void TfrmMain::DeleteSourceMenuItems()
{
    mnuSource->clear();
    QAction* placeholder = mnuSource->addAction(pictor::kSourceMenuPlaceholder);
    placeholder->setEnabled(false);
}

void TfrmMain::alOpneSourceExecute(int tag)
{
    if (!HasDocument() || tag < 0 || tag >= Document_->FileCount()) return;
    const pictor::TEditorCommand command = pictor::EditorCommand(Options_.EditorPath, Document_->FilePath(tag));
    QStringList arguments;
    for (const std::string& argument : command.Arguments) arguments << QString::fromStdString(argument);
    QProcess::startDetached(QString::fromStdString(command.Program), arguments);
}

void TfrmMain::alContentsExecute()
{
    const std::string help = pictor::FindHelpFile(pictor::ProgramFolder());
    if (help.empty()) return;
    if (!Help_) Help_ = new THelpWindow(this);
    Help_->ShowPage(QUrl::fromLocalFile(QString::fromStdString(help)));
}

void TfrmMain::mnuAboutClick()
{
    const TFocusBack back(*this);
    pictor::TfrmAbout about(Options_.HighScore, this);
    about.exec();
}
