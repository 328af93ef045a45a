#pragma once

class QTranslator;

// Loads Qt's own Japanese texts (standard buttons, file dialogs) from Qt's translations folder
// into `translator` and installs it in the application. False when they are not installed.
bool InstallQtTranslations(QTranslator& translator);
