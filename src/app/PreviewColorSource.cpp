#include "app/PreviewColorSource.h"

#include "app/BrowserScript.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

namespace pictor {

namespace {

TColorSource SourceOf(const QVariant& answer)
{
    const QVariantMap fields = answer.toMap();
    const QString kind = fields.value("kind").toString();
    TColorSource source;
    if (kind == "rule")
        source.Kind = TColorSource::Rule;
    else if (kind == "style")
        source.Kind = TColorSource::StyleAttribute;
    else if (kind == "attribute")
        source.Kind = TColorSource::Attribute;
    else
        return source;
    const QString sheet = fields.value("sheet").toString();
    if (!sheet.isEmpty()) source.Sheet = QUrl(sheet).toLocalFile().toStdString();
    source.Tag = fields.value("tag").toString().toStdString();
    source.Name = fields.value("name").toString().toStdString();
    for (const QVariant& candidate : fields.value("candidates").toList())
        source.Candidates.push_back(candidate.toString().toStdString());
    const int index = fields.value("index").toInt();
    if (index < 0) return {};
    source.Index = std::size_t(index);
    const QVariantList channels = fields.value("color").toList();
    if (channels.size() >= 3)
        source.Color =
            RGB(qRound(channels[0].toDouble()), qRound(channels[1].toDouble()), qRound(channels[2].toDouble()));
    return source;
}

} // namespace

QString ColorSourcesScript(const std::vector<TSourceQuery>& queries)
{
    QJsonArray list;
    for (const TSourceQuery& query : queries)
        list.append(QJsonObject{{"path", query.Path}, {"background", query.Background}});
    return ScriptFile(QStringLiteral("color-source.js")) + '(' +
           QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact)) + ')';
}

std::vector<TColorSource> ColorSourcesOf(const QVariant& answer, std::size_t queries)
{
    std::vector<TColorSource> sources(queries);
    const QVariantList list = answer.toList();
    for (std::size_t i = 0; i < queries && i < std::size_t(list.size()); ++i) sources[i] = SourceOf(list[qsizetype(i)]);
    return sources;
}

TColorSource ColorSourceOf(IBrowser& browser, const QString& path)
{
    return ColorSourcesOf(ScriptAnswer(browser, ColorSourcesScript({{path, false}})), 1).front();
}

QString DecodeAttributesScript(const std::vector<std::string>& values)
{
    QJsonArray list;
    for (const std::string& value : values) list.append(QString::fromStdString(value));
    return ScriptFile(QStringLiteral("decode-attributes.js")) + '(' +
           QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact)) + ')';
}

TAttributeDecoder AttributeDecoder(IBrowser& browser)
{
    return [&browser](const std::vector<std::string>& values) {
        std::vector<std::string> decoded;
        for (const QVariant& value : ScriptAnswer(browser, DecodeAttributesScript(values)).toList())
            decoded.push_back(value.toString().toStdString());
        return decoded;
    };
}

} // namespace pictor
