#pragma once
#include "app/model/ColorSource.h"

#include <QString>
#include <QVariant>

class IBrowser;

namespace pictor {

// The script that finds, as the cascade does, the declaration giving the element at `path` (as
// TPreviewText names it) its text colour (resources/scripts/color-source.js); its answer goes to
// ColorSourceOf.
QString ColorSourceScript(const QString& path);
TColorSource ColorSourceOf(const QVariant& answer);
// Runs the script and waits for its answer; Nothing when none comes.
TColorSource ColorSourceOf(IBrowser& browser, const QString& path);
// The script that reads double-quoted attribute values as the browser does: its answer is a list of them.
QString DecodeAttributesScript(const std::vector<std::string>& values);
// Attribute values read by the shown page's browser; it must outlive the decoder.
TAttributeDecoder AttributeDecoder(IBrowser& browser);

} // namespace pictor
