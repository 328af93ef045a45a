#pragma once
#include "app/model/ColorSource.h"

#include <QString>
#include <QVariant>

class IBrowser;

namespace pictor {

// The script that finds, as the cascade does, the declaration giving the element at `path` (as
// TPreviewText names it) its text colour; its answer goes to ColorSourceOf.
QString ColorSourceScript(const QString& path);
TColorSource ColorSourceOf(const QVariant& answer);
// Runs the script and waits for its answer; Nothing when none comes.
TColorSource ColorSourceOf(IBrowser& browser, const QString& path);

} // namespace pictor
