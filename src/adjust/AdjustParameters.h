#pragma once
#include "adjust/Adjustment.h"

#include <span>
#include <string_view>

namespace pictor {

// One parameter of an adjustment, as the dialogs, pictor-cli's options and its help text show it.
struct TAdjustParameter {
    std::string_view Name;     // on the command line; its first letter, upper case, in the help text
    std::string_view Caption;  // the dialog row's label, UTF-8
    int Min;
    int Max;
    int Default;
};

// The parameters of an adjustment in the order of TAdjustment::Params; none for akInvert and akNewColor.
std::span<const TAdjustParameter> AdjustParameters(TAdjustKind kind);

} // namespace pictor
