// View → Source items, Help → Contents and the About box.
#include "app/AboutDialog.h"
#include "app/HelpWindow.h"
#include "app/SourceView.h"
#include "app/MainWindow.h"
#include "app/OpenDocument.h"
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
    for (int tab = 0; tab < Open_->Shown().FileCount(); ++tab) paths.push_back(Open_->Shown().FilePath(tab));
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
    if (!Open_->IsReadable() || tag < 0 || tag >= Open_->Shown().FileCount()) return;
    const pictor::TEditorCommand command = pictor::EditorCommand(Options_.EditorPath, Open_->Shown().FilePath(tag));
    const QString program = QString::fromStdString(command.Program);
    const QString path = QString::fromStdString(Open_->Shown().FilePath(tag));
    QStringList arguments;
    for (const std::string& argument : command.Arguments) arguments << QString::fromStdString(argument);
    // Unowned, so that closing the window leaves the editor running; it goes when the editor ends.
    auto* process = new QProcess;
    const auto showHere = [this, tag, path, process](const QString& why) {
        process->deleteLater();
        if (!Open_->IsReadable() || tag >= Open_->Shown().FileCount() || QString::fromStdString(Open_->Shown().FilePath(tag)) != path) return;
        (new TSourceView(path, Open_->Shown().Elements(tag), why, this))->show();
    };
    connect(process, &QProcess::errorOccurred, this, [program, showHere](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            showHere("エディタ「" + program + "」を起動できないため、ファイルの内容をここに表示します。"
                     "エディタはオプションで選べます。");
    });
    connect(process, &QProcess::finished, this, [program, process, showHere](int code, QProcess::ExitStatus status) {
        if (status == QProcess::NormalExit && code != 0)
            showHere("「" + program + "」がファイルを開けなかった（終了コード " + QString::number(code) +
                     "）ため、ファイルの内容をここに表示します。エディタはオプションで選べます。");
        else
            process->deleteLater();
    });
    process->start(program, arguments);
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
