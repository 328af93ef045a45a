#pragma once
#include <QTranslator>

// Loads Qt's own Japanese texts (standard buttons, file dialogs) from Qt's translations folder
// into `translator` and installs it in the application. False when they are not installed.
bool InstallQtTranslations(QTranslator& translator);

// The texts Qt's Japanese catalogue lacks: the kinds of entry its file dialogs list ("Folder"...),
// which Qt 6 asks for under a name the catalogue does not know. Install it beside the catalogue.
class TQtTextGaps : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* source, const char* disambiguation, int n) const override;
    bool isEmpty() const override { return false; }
};
