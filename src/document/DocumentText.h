#pragma once
#include "document/HtmlStructure.h"
#include "document/ScanEvents.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pictor {

// One colour occurrence as the walk reported it.
struct TColorFound {
    std::size_t Pos = 0;  // in the walked text, 0-based
    std::uint32_t Length = 0;
    // A colour in a data: URL's picture: 1 + the URL's index in TFileScan::Embeds; Pos and Length are
    // then in the picture's decoded text. Kept small: a large sheet holds millions of these at once.
    std::uint32_t Embed = 0;
    TColorForm Form = TColorForm::Attribute;
    std::int16_t NameIndex = -1;
};

// An occurrence that may be part of a text colour and background pair, and where it stands.
struct TPlacedColor {
    std::size_t Index = 0; // of the occurrence, in walk order
    TColorPlace Place;
    bool Attribute = false;
};

// A style sheet a page links.
struct TSheetLink {
    std::string Ref;      // as written
    std::string Charset;  // the link's charset attribute; empty when it has none
};

// What a walk of one file found, before the records are built.
struct TFileScan {
    std::vector<TColorFound> Colors;       // every occurrence, in order
    std::vector<TPlacedColor> Placed;      // those of them whose role may pair them, in order
    std::vector<TEmbed> Embeds;            // the data: URLs whose pictures hold colours, in order
    std::vector<std::string> Pics;         // each distinct reference once, in order
    std::vector<std::string> SvgRefs;      // SVG pictures, each distinct reference once, in order
    std::vector<TSheetLink> SheetRefs;     // linked style sheets (page only)
    std::vector<std::string> Imports;      // "@import" targets outside every rule, as written, in order
    std::vector<std::string> BlockImports; // of those, the ones a browser follows in a page's style blocks
    TChannelVariables Channels;
};

// Reads a page or sheet into file: its bytes, their encoding, the text in the internal encoding. A
// sheet's linkCharset is the charset attribute of the link that names it.
void ReadTextFile(const std::string& path, TElements& file, bool isPage, std::string_view linkCharset = {});
// The same for bytes already read.
void ReadText(std::string bytes, TElements& file, bool isPage, std::string_view linkCharset = {});
// The walk that loading and rewriting share, by the kind of file (a page; an SVG picture or a sheet).
void WalkFile(const TElements& file, bool isPage, TScanEvents& events);
TFileScan ScanFile(const TElements& file, bool isPage, TWorkPool* pool = nullptr);
// ScanFile's walk of a large sheet, split at `second`; open so that a test can split a small one anywhere.
TFileScan ScanInHalves(const TElements& file, std::size_t second, TWorkPool& pool);
// An occurrence's text as recorded: a name in its canonical spelling, rgb() with its separators and an
// attribute value with its TABs as spaces; as long as the bytes it covers.
std::string OccurrenceText(std::string_view text, const TColorFound& found, bool utf8);
// Whether a browser drops the style-text occurrence (text as read) as no colour at all: a "#" that is not
// 3, 4, 6 or 8 hexadecimal digits, a colour function CSS does not take.
bool BrowserDrops(std::string_view text, const TColorFound& found);
// The file's Text with every colour occurrence, where the walk found it, replaced by its record's Text,
// and the file's Added texts put in, into NewText when that differs from Text; sets each record's Pos.
void RewriteText(TElements& file);
// A data: URL's data with its picture's colours (piece, the records of that URL) as their Text has them,
// in the data's own encoding: percent-encoded data keeps every byte but the changed colours', base64
// data is encoded afresh.
std::string RewriteEmbedded(std::string_view data, TEmbedding kind, std::span<const TColorRecord> piece);
// text back in the file's own encoding.
std::string EncodeForFile(const TElements& file, std::string_view text);
// Whether the file's text is held in the encoding it is written in, so that EncodeForFile would only copy it.
bool HeldAsWritten(const TElements& file);
// Throws TPictorError naming path when bytes, what EncodeForFile made of the file's CurrentText(), would
// not read back as that text: a file is never written in a form that loses what it holds.
void RequireRoundTrip(const TElements& file, std::string_view bytes, const std::string& path);
// A reference as a file-system name: Shift-JIS bytes become UTF-8.
std::string ReferenceToFileName(std::string_view reference, bool utf8);

} // namespace pictor
