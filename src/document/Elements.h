#pragma once
#include "base/HugePageAllocator.h"
#include "document/ChannelLists.h"
#include "document/ColorLiterals.h"
#include "document/ScanEvents.h"
#include "encoding/CharCode.h"
#include "encoding/PzConv.h"
#include "picture/BitmapEx.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pictor {

// What Pictor holds of each file it reads: its colour occurrences, its pictures, its text.

// One colour occurrence.
struct TColorRecord {
    std::string Text;      // what is written at this occurrence
    std::int32_t Pos = 0;  // 1-based position of Text within the file's CurrentText()
    std::string OrgText;   // as found; its length is what the occurrence covers
    TColor Color = 0;
    bool Checked = true;
    std::size_t SourcePos = 0;  // 0-based position of the occurrence in the file's Text, where the walk found it
    TColor OrgColor = 0;        // what OrgText gives
    TAlphaForm AlphaForm = TAlphaForm::None;
    std::string Alpha;          // as written; no adjustment changes it
    bool Ignored = false;       // a browser ignores it: never ticked, never rewritten
    // Among those, a text a browser drops as no colour at all (the others are an empty or "transparent"
    // attribute): listed as ignored and reported after the load.
    bool Rejected = false;
    // A colour in a data: URL's picture: the URL's data in the file's Text. SourcePos and OrgText are then
    // in the data as decoded, and the rewrite writes the data back in its own encoding.
    TEmbed Embed;
    TChannelRole Channels;  // a channel variable's value: written back as channels
    // An hsl() lightness variable's (or its delta's) first use: its hue (degrees) and saturation (percent)
    // as written, which the 8-bit Color only approximates.
    std::optional<std::array<double, 2>> UseHueSaturation;

    bool Tickable() const { return !Ignored; }
};

// A picture whose file is missing or cannot be decoded stays listed, but is never adjusted or written.
enum class TPicState : std::uint8_t { Ok, Missing, Unreadable };

// One distinct picture reference.
struct TPicRecord {
    std::string RefText;   // as written in the document
    std::string FullPath;
    std::string WorkPath;
    TBitmapEx Bitmap;
    bool Checked = true;
    // The file the pixels of Loaded came from: an unchanged picture is copied from here, never re-encoded.
    std::string SourcePath;
    TBitmapEx Loaded;
    TPicState State = TPicState::Ok;
    std::string Reason;  // why it is missing or unreadable, when more can be said than its state

    bool Tickable() const { return State == TPicState::Ok; }
};

// A text colour and its background declared together, as indices into a file's colour records.
struct TPairedColors {
    std::size_t Foreground = 0;
    std::size_t Background = 0;
    // Paired through custom properties: the alpha each use's colour function gives (oklch(var(--su) / .8)),
    // and whether the background is a custom property's, which every use of it shares.
    std::uint8_t ForegroundAlpha = 255, BackgroundAlpha = 255;
    bool SharedBackground = false;
};

// Text a change adds to a file (a dark colour scheme's rules), at Pos in its Text: before whatever
// stands there.
struct TAddedText {
    std::size_t Pos = 0;
    std::string Text;
    bool operator==(const TAddedText&) const = default;
};

// One file: the page, a style sheet or an SVG picture, with everything held of it.
struct TElements {
    std::string Path;      // the file; a save below another folder moves it there
    std::string WorkPath;  // its working copy, or where it lies when there is none
    std::int32_t CharCode = ccSjis;
    std::string Text;     // as read, in the internal encoding
    // Text with every colour occurrence's current Text in place, held only while that differs from Text:
    // a large file no change touched is not held twice. Read it through CurrentText().
    std::string NewText;
    bool Rewritten = false;  // NewText is held
    std::string ReadFrom;    // the file that holds Text as it is: where it was read, until a change is saved there
    const std::string& CurrentText() const { return Rewritten ? NewText : Text; }
    std::vector<TColorRecord, THugePageAllocator<TColorRecord>> Colors;
    std::vector<TPicRecord> Pics;
    std::vector<TPairedColors> Pairs;  // found by the walk that built Colors: where they stand never changes
    std::vector<TAddedText> Added;     // in order of Pos; the rewrite puts them in place
    TEucExtraChars EucExtra;  // three-byte EUC-JP characters carried through Text
    std::string SingleByteName;  // the name of a ccSingleByte file's encoding, upper case
    // The first line (from 1) whose bytes the text, written back in its encoding, would not give back: a
    // file read from ISO-2022-JP with bytes the conversion loses, which no save writes. 0: none.
    std::size_t ReadLossLine = 0;

    bool IsSvg = false;       // an SVG picture's text, walked as SVG; listed and saved like a sheet
    // Channel lists and their uses, until the page or site they belong to is loaded (AddChannelColors).
    TChannelVariables Channels;

    bool IsUtf8() const { return CharCode == ccUtf8; }
    // Whether the walks step through Text as through UTF-8, where no ASCII byte belongs to another
    // character: so is a single-byte text. Shift-JIS, and EUC-JP and ISO-2022-JP held as it, pairs bytes.
    bool WalksAsUtf8() const { return CharCode != ccSjis && CharCode != ccEuc && CharCode != ccJis; }
    std::string_view EncodingName() const { return CharCode == ccSingleByte ? SingleByteName : CharCodeName(CharCode); }
};

} // namespace pictor
