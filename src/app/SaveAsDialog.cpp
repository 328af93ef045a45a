#include "app/SaveAsDialog.h"

#include "widgets/DialogPlacement.h"
#include "widgets/ErrorBox.h"
#include "base/FileIO.h"
#include "base/PictorError.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace pictor {

namespace {

bool AskWithMessageBox(QWidget* parent, const QString& text)
{
    return QMessageBox::question(parent, "確認", text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

} // namespace

TfrmSaveAs::TfrmSaveAs(QWidget* parent) : QDialog(parent), AskYesNo(AskWithMessageBox)
{
    setWindowTitle("名前をつけて保存");
    // No close button: the dialog ends through its buttons only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* Label1 = new QLabel("保存先ディレクトリを指定してください", this);
    edtPath = new QLineEdit(this);
    edtPath->setObjectName("edtPath");
    edtPath->setMinimumWidth(360);
    Label1->setBuddy(edtPath);
    auto* Button1 = new QPushButton("参照(&B)...", this);
    Button1->setObjectName("Button1");
    auto* btnOK = new QPushButton("保存(&S)", this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    auto* btnCancel = new QPushButton("キャンセル(&C)", this);
    btnCancel->setObjectName("btnCancel");

    auto* layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0, 1, 4);
    layout->addWidget(edtPath, 1, 0, 1, 3);
    layout->addWidget(Button1, 1, 3);
    layout->addWidget(btnOK, 2, 2);
    layout->addWidget(btnCancel, 2, 3);
    layout->setColumnStretch(0, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // An empty folder would put every file below the root.
    btnOK->setEnabled(false);
    connect(edtPath, &QLineEdit::textChanged, btnOK, [btnOK](const QString& text) { btnOK->setEnabled(!text.isEmpty()); });
    connect(btnOK, &QPushButton::clicked, this, &TfrmSaveAs::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button1, &QPushButton::clicked, this, &TfrmSaveAs::Button1Click);
}

void TfrmSaveAs::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!Folder.empty() && FolderExists(Folder)) {
        edtPath->setText(QFile::decodeName(Folder.c_str()));
        FocusPath();
    }
    CentreOnScreen(this);
}

void TfrmSaveAs::closeEvent(QCloseEvent* event) { event->ignore(); }

void TfrmSaveAs::btnOKClick()
{
    Folder = QFile::encodeName(edtPath->text()).toStdString();
    accept();
}

void TfrmSaveAs::accept()
{
    if (!FolderExists(Folder)) {
        const QString text = "ディレクトリ\"" + QFile::decodeName(Folder.c_str()) + "\"は存在しません\n\r作成しますか？";
        if (!AskYesNo(this, text)) return;
        try {
            CreateFolders(Folder);
        } catch (const TPictorError& error) {
            ShowErrorBox(this, error);
            return;
        }
    }
    QDialog::accept();
}

void TfrmSaveAs::Button1Click()
{
    QFileDialog dialog(this, "保存先ディレクトリを選択してください", edtPath->text());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.resize(720, 460);  // room for the names and dates Qt's default size cuts
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    edtPath->setText(dialog.selectedFiles().constFirst());
    FocusPath();
}

void TfrmSaveAs::FocusPath()
{
    edtPath->setFocus();
    edtPath->selectAll();
}

} // namespace pictor
