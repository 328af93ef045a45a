#pragma once
#include <cstddef>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace pictor {

// A rule or at-rule with a block: its prelude (selector or at-rule text, trimmed) and its braces.
struct TCssBlock {
    std::size_t PreludeStart = 0, PreludeEnd = 0;
    std::size_t Open = 0;   // its "{"
    std::size_t Close = 0;  // its "}", or the end of the text when it is not closed
    int Parent = -1;        // index into TCssOutline::Blocks; -1 at the top
};

// A declaration within a block, without its ";" and trailing white space.
struct TCssDeclaration {
    std::size_t Start = 0, End = 0;
    int Block = 0;
};

// Where a style text's blocks and declarations stand, as a browser parses them (comments, strings,
// escapes and parentheses stepped over). Positions are in the text given.
struct TCssOutline {
    std::vector<TCssBlock> Blocks;              // in order of their "{"
    std::vector<TCssDeclaration> Declarations;  // in order
    int OpenAtEnd = 0;                          // blocks the text leaves open
    bool CommentAtEnd = false;                  // the text ends inside a comment

    // The declaration holding [pos, pos + length), or -1.
    int DeclarationAt(std::size_t pos, std::size_t length) const;
};

// An at-rule's prelude that asks for the reader's colour scheme: what it holds is the site's own scheme.
bool AsksColorScheme(std::string_view prelude);

// The outline of text[from, to): a sheet, or a style block's contents.
TCssOutline OutlineCss(std::string_view text, std::size_t from, std::size_t to, bool utf8);
// Where the quoted string starting at quote ends: past its closing quote, or at the line end that cuts
// it short; escapes and, outside UTF-8, two-byte characters stepped over.
std::size_t PastCssString(std::string_view text, std::size_t quote, bool utf8);

// A function call within a declaration.
struct TCssCall {
    std::size_t Start = 0;      // its name
    std::size_t Args = 0;       // past its "("
    std::size_t End = 0;        // past its ")"
    std::size_t FirstComma = 0; // the first comma among its own arguments; 0: none
};
// The closed calls of the functions named (lower case, each with its "(") in the outline's declarations,
// names matched without regard to case; strings are stepped over, and so is a call found, with what it
// holds.
std::vector<TCssCall> CssCalls(std::string_view text, const TCssOutline& outline, bool utf8,
                               std::initializer_list<std::string_view> names);

} // namespace pictor
