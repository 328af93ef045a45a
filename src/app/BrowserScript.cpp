#include "app/BrowserScript.h"

#include "app/Browser.h"
#include "base/PictorError.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <memory>

namespace pictor {

QVariant ScriptAnswer(IBrowser& browser, const QString& script)
{
    // The state outlives this call in case the answer comes after the time limit.
    struct TState {
        QEventLoop Loop;
        QVariant Answer;
    };
    auto state = std::make_shared<TState>();
    browser.RunScript(script, [state](const QVariant& answer) {
        state->Answer = answer;
        state->Loop.quit();
    });
    QTimer::singleShot(5000, &state->Loop, &QEventLoop::quit);
    if (!state->Answer.isValid()) state->Loop.exec();
    return state->Answer;
}

QString ScriptFile(const QString& name)
{
    QFile file(QStringLiteral(":/scripts/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw TPictorError(file.fileName().toStdString(), "not built into the program");
    return QString::fromUtf8(file.readAll());
}

} // namespace pictor
