#pragma once

#include <QIcon>

namespace Corvella {

// The pictures of the main window's tool buttons, drawn in one plain style.
enum class TToolIcon {
    Clear,
    Open,
    Save,
    MaskEdit,
    Combo,
    RadioGroup,
    List,
    Memo,
    DateTime,
    Wizard,
    Tests,
    Join,
    PrintPreview,
    Print,
    BeginTesting
};

// The size the tool bars show them at: small enough for both bars and the test list
// to share one row of the window's starting width.
inline constexpr int ToolIconSize = 16;

QIcon ToolIcon(TToolIcon which);

} // namespace Corvella
