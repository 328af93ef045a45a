#pragma once
#include "replace/ReplaceTable.h"

#include <string>
#include <string_view>

namespace pictor {

// Shift-JIS text to its stored form: CR as "\r", LF as "\n"; double-byte characters are copied whole,
// so a trail byte 5C is never taken for a backslash.
std::string EscapeReplacement(std::string_view value);
// The inverse for editing: "\r" and "\n" undone, any other backslash kept, double-byte characters whole.
std::string UnescapeForEditing(std::string_view escaped);

enum class TItemCheck { Ok, EmptyKey, EmptyValue, DoubleByteKey };

// The entry dialog's checks, in order, on what was typed (UTF-8). A key character that is not one
// Shift-JIS byte counts as double-byte, so characters code page 932 lacks are refused as well.
TItemCheck CheckReplaceItem(std::string_view keyUtf8, std::string_view memoUtf8);
// The message a failed check shows.
std::string_view ItemCheckMessage(TItemCheck check);

// The entry dialog's memo (UTF-8, lines ended by LF) from a stored value, and back: a line break
// of the memo is stored as CR LF.
std::string MemoTextOf(std::string_view escapedValue);
TReplaceItem ItemFromDialog(std::string_view keyUtf8, std::string_view memoUtf8);

} // namespace pictor
