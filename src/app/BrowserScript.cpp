#include "app/BrowserScript.h"

#include "app/Browser.h"

#include <QEventLoop>
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

} // namespace pictor
