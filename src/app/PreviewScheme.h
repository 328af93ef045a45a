#pragma once
#include <QString>

namespace pictor {

// A script that shows the preview in the light or the dark preferred colour scheme. Qt WebEngine 6.4
// has no setting for it, and the Chromium switch that has one holds for the whole process: so every
// "prefers-color-scheme" query of the page's rules (imported sheets included) is made true or false,
// its first text kept so that the other scheme can be chosen again, and the root element's
// color-scheme set, which gives the browser's own colours. Run again after each load.
QString PreferredSchemeScript(bool dark);

} // namespace pictor
