#include "app/SourceView.h"

#include "document/HtmlStructure.h"
#include "encoding/Cp932.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStringDecoder>
#include <QVBoxLayout>

namespace {

// Shift-JIS, EUC-JP and JIS are held as Shift-JIS; the others as they were read.
QString Decoded(const pictor::TElements& file)
{
    const std::string& text = file.Text;
    switch (file.CharCode) {
    case pictor::ccUtf8: return QString::fromUtf8(text.data(), qsizetype(text.size()));
    case pictor::ccSingleByte: return QString::fromLatin1(text.data(), qsizetype(text.size()));
    case pictor::ccUtf16LE:
    case pictor::ccUtf16BE: {
        QStringDecoder decode(file.CharCode == pictor::ccUtf16LE ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                              QStringConverter::Flag::ConvertInitialBom);
        return decode(QByteArrayView(text.data(), qsizetype(text.size())));
    }
    default: return QString::fromStdString(pictor::cp932::ToUtf8(text));
    }
}

} // namespace

TSourceView::TSourceView(const QString& path, const pictor::TElements& file, const QString& why, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(path);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* message = new QLabel(why, this);
    message->setObjectName("lblWhy");
    message->setWordWrap(true);
    auto* text = new QPlainTextEdit(Decoded(file), this);
    text->setObjectName("memSource");
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message);
    layout->addWidget(text);
    resize(720, 520);
}
