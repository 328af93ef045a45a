#pragma once
#include <QString>

class TfrmMain;

// The steps an author takes, driven in the window for bench/window-steps.sh: open the page, invert,
// undo, save. Each step's time runs until the window says it is done (the preview shown again, the
// save ended); the worst wait for the event loop meanwhile is how long a key would go unanswered.
// Prints "step seconds" lines on standard output, then closes the window.
void RunBenchSteps(TfrmMain& window, const QString& page);
// The same for a site's folder (bench/site-steps.sh): open it with its palette shown, invert, switch to
// the next page, switch back, save.
void RunSiteBenchSteps(TfrmMain& window, const QString& folder);
