#pragma once
#include <QCursor>

// The program's own cursors: "Hand", "G_Hand" (grabbing) and "C_Pick" (the colour picker's pipette).
enum TCursorKind { crHand = 1, crGHand = 2, crCPick = 3 };
QCursor ProgramCursor(TCursorKind kind);
