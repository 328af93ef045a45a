#pragma once
#include <QString>
#include <QVariant>

class IBrowser;

namespace pictor {

// Runs the script in the shown document and waits for the value of its last expression: invalid when
// none comes in time.
QVariant ScriptAnswer(IBrowser& browser, const QString& script);

// The text of one of the scripts compiled into the program (resources/scripts/name).
QString ScriptFile(const QString& name);

} // namespace pictor
