#pragma once
#include "app/model/ColorSource.h"

#include <QString>
#include <QVariant>

#include <cstddef>
#include <vector>

class IBrowser;

namespace pictor {

// An element as TPreviewText names it, and which of its colours.
struct TSourceQuery {
    QString Path;
    bool Background = false;
};

// The script that finds, as the cascade does, the declaration giving each element asked for its text
// colour or its background (resources/scripts/color-source.js); its answer goes to ColorSourcesOf.
QString ColorSourcesScript(const std::vector<TSourceQuery>& queries);
// One source for each query; Nothing where the answer has none.
std::vector<TColorSource> ColorSourcesOf(const QVariant& answer, std::size_t queries);
// The text colour's: runs the script and waits for its answer; Nothing when none comes.
TColorSource ColorSourceOf(IBrowser& browser, const QString& path);
// The script that reads double-quoted attribute values as the browser does: its answer is a list of them.
QString DecodeAttributesScript(const std::vector<std::string>& values);
// Attribute values read by the shown page's browser; it must outlive the decoder.
TAttributeDecoder AttributeDecoder(IBrowser& browser);

} // namespace pictor
