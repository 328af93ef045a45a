#include "app/OverwriteQuestion.h"

#include <QFile>
#include <QMessageBox>

namespace pictor {

TOverwriteAnswer AskOverwrite(QWidget* parent, const std::string& path)
{
    const QString text = "ファイル\"" + QFile::decodeName(path.c_str()) + "\"はすでに存在します\n上書きしますか？";
    QMessageBox box(QMessageBox::Question, "確認", text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::NoToAll |
                        QMessageBox::YesToAll,
                    parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes: return TOverwriteAnswer::Yes;
    case QMessageBox::No: return TOverwriteAnswer::No;
    case QMessageBox::YesToAll: return TOverwriteAnswer::YesToAll;
    case QMessageBox::NoToAll: return TOverwriteAnswer::NoToAll;
    default: return TOverwriteAnswer::Cancel;
    }
}

TOverwriteQuestion OverwriteQuestionFor(QWidget* parent)
{
    return [parent](const std::string& path) { return AskOverwrite(parent, path); };
}

} // namespace pictor
