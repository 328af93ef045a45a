#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

#include <cstring>

bool InstallQtTranslations(QTranslator& translator)
{
    if (!translator.load(QLocale(QLocale::Japanese), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

QString TQtTextGaps::translate(const char* context, const char* source, const char*, int) const
{
    static constexpr const char* Texts[][2] = {
        {"Folder", "フォルダー"}, {"File", "ファイル"}, {"Drive", "ドライブ"}, {"%1 File", "%1 ファイル"}};
    if (!context || std::strcmp(context, "QAbstractFileIconProvider") != 0) return {};
    for (const auto& [english, japanese] : Texts)
        if (std::strcmp(source, english) == 0) return QString::fromUtf8(japanese);
    return {};
}
